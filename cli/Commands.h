// The commands of orvane-cli. Each takes the arguments after its name and
// returns the process status.
#pragma once

#include <string>
#include <vector>

namespace orvane::cli {

using Args = std::vector<std::string>;

int RunList(const Args& args);
int RunExtract(const Args& args);
int RunShow(const Args& args);
int RunConvert(const Args& args);
int RunMakeDemo(const Args& args);
int RunLookup(const Args& args);
int RunWriteRecord(const Args& args);
int RunCheck(const Args& args);
int RunDiff(const Args& args);
int RunReconcile(const Args& args);

} // namespace orvane::cli
