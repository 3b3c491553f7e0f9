// The full path of a player's program, built from what its installation stored.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korven {

// Paths live in 260-byte buffers: 259 characters and the terminating zero.
inline constexpr std::size_t kMaxPathLength = 259;

// The directory followed directly by the program file (a directory ending in a backslash
// keeps both backslashes). Nothing when the path would not fit.
std::optional<std::string> ProgramPathInDirectory(std::string_view directory,
                                                  std::string_view programFile);

// The directory cut out of an uninstall command: the text after the first double quote (all
// of it when there is none) up to its last backslash (nothing when there is none), followed
// by the program file. Nothing when the path would not fit.
std::optional<std::string> ProgramPathFromUninstallCommand(std::string_view command,
                                                           std::string_view programFile);

}  // namespace korven
