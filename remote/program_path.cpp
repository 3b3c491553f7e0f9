#include "remote/program_path.h"

namespace korven {

std::optional<std::string> ProgramPathInDirectory(std::string_view directory,
                                                  std::string_view programFile) {
  if (directory.size() + programFile.size() > kMaxPathLength) return std::nullopt;
  std::string path(directory);
  path += programFile;
  return path;
}

std::optional<std::string> ProgramPathFromUninstallCommand(std::string_view command,
                                                           std::string_view programFile) {
  const auto quote = command.find('"');
  if (quote != std::string_view::npos) command.remove_prefix(quote + 1);
  const auto lastBackslash = command.rfind('\\');
  const std::string_view directory = lastBackslash == std::string_view::npos
                                         ? std::string_view()
                                         : command.substr(0, lastBackslash);
  return ProgramPathInDirectory(directory, programFile);
}

}  // namespace korven
