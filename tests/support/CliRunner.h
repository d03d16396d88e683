// Runs the real orvane-cli as a user would: its output, its status and the
// files it leaves. The program's path comes from ORVANE_CLI (set by CTest);
// tests are skipped when it is not set.
#pragma once

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane::testing {

struct CliResult {
    int status = -1;
    std::string out, err;
};

std::string ShellQuote(const std::string& s);
std::vector<std::string> SplitLines(const std::string& text);
// The words that run the program under strace with options (its log, the
// calls traced, a fault injected), or "" where strace cannot run: the caller
// skips.
std::string UnderStrace(const std::string& options);

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override;

    // Runs orvane-cli with the arguments; envPrefix such as "LC_ALL=C" (on
    // Linux any shell words before the program: "ulimit -v N;", a tracer).
    // stdoutPath: where standard output goes instead of r.out ("/dev/full").
    CliResult Run(const std::vector<std::string>& args, const std::string& envPrefix = {},
                  const std::string& stdoutPath = {});

    // An error: status 1, nothing on stdout, one line on stderr holding part.
    static void ExpectError(const CliResult& r, const std::string& part);

    std::string cli_;
    TempDir io_, dir_;
};

} // namespace orvane::testing
