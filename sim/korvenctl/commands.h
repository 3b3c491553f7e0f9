// korvenctl's commands. Each prints its result on stdout, one fact a line, and returns the
// process exit code: 0 done, 1 refused or failed, 2 wrong use.
#pragma once

#include <string>
#include <vector>

namespace korvenctl {

using Arguments = std::vector<std::string>;

int RunCommand(const std::string& command, const Arguments& arguments);
void PrintUsage();

}  // namespace korvenctl
