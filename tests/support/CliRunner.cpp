#include "support/CliRunner.h"

#include "platform/BinaryFile.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace orvane::testing {

#ifdef _WIN32
// cmd.exe: double quotes (no file name holds one), and `set` for the
// variables of envPrefix ("NAME=value ...").
std::string ShellQuote(const std::string& s) {
    return "\"" + s + "\"";
}

namespace {
std::string EnvironmentPrefix(const std::string& envPrefix) {
    std::string sets;
    std::istringstream words(envPrefix);
    for (std::string w; words >> w;)
        sets += "set \"" + w + "\"&& ";
    return sets;
}
int ExitStatus(int raw) {
    return raw;
}
} // namespace
#else
std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

namespace {
std::string EnvironmentPrefix(const std::string& envPrefix) {
    return envPrefix.empty() ? std::string() : envPrefix + " ";
}
int ExitStatus(int raw) {
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}
} // namespace
#endif

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string UnderStrace(const std::string& options) {
#ifdef _WIN32
    (void)options;
    return {};
#else
    if (std::system("strace -V >/dev/null 2>&1") != 0) return {};
    // LeakSanitizer cannot run under a tracer; the sanitizers' other checks can.
    return "LC_ALL=C ASAN_OPTIONS=detect_leaks=0 strace -qq " + options;
#endif
}

void CliTest::SetUp() {
    const char* cli = std::getenv("ORVANE_CLI");
    if (!cli || !*cli) GTEST_SKIP() << "ORVANE_CLI is not set (run through ctest)";
    cli_ = cli;
}

CliResult CliTest::Run(const std::vector<std::string>& args, const std::string& envPrefix,
                       const std::string& stdoutPath) {
    std::string command = EnvironmentPrefix(envPrefix) + ShellQuote(cli_);
    for (const auto& a : args)
        command += " " + ShellQuote(a);
    const std::string out = stdoutPath.empty() ? io_.File("stdout") : stdoutPath;
    if (!stdoutPath.empty()) io_.Write("stdout", ""); // r.out: nothing
    command += " >" + ShellQuote(out) + " 2>" + ShellQuote(io_.File("stderr"));
#ifdef _WIN32
    // cmd /c drops the first and the last quote of a line that starts with one.
    command = "\"" + command + "\"";
#endif
    CliResult r;
#ifdef _WIN32
    // Wide, so that names outside the ANSI code page reach the program whole.
    r.status = ExitStatus(_wsystem(PathFromUtf8(command).c_str()));
#else
    r.status = ExitStatus(std::system(command.c_str()));
#endif
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
