#include "support/CliRunner.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

namespace orvane::testing {

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void CliTest::SetUp() {
    const char* cli = std::getenv("ORVANE_CLI");
    if (!cli || !*cli) GTEST_SKIP() << "ORVANE_CLI is not set (run through ctest)";
    cli_ = cli;
}

CliResult CliTest::Run(const std::vector<std::string>& args, const std::string& envPrefix) {
    std::string command = envPrefix.empty() ? std::string() : envPrefix + " ";
    command += ShellQuote(cli_);
    for (const auto& a : args)
        command += " " + ShellQuote(a);
    command += " >" + ShellQuote(io_.File("stdout")) + " 2>" + ShellQuote(io_.File("stderr"));
    CliResult r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = io_.Read("stdout");
    r.err = io_.Read("stderr");
    return r;
}

void CliTest::ExpectError(const CliResult& r, const std::string& part) {
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("orvane-cli: ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
}

} // namespace orvane::testing
