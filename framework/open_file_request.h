// What the open-file chooser is asked to show (the fields of GetOpenFileName's record that
// the program uses).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/messages.h"

namespace fw {

namespace ofn {
inline constexpr std::uint32_t kOverwritePrompt = 0x00000002;
inline constexpr std::uint32_t kHideReadOnly = 0x00000004;
inline constexpr std::uint32_t kFileMustExist = 0x00001000;
}  // namespace ofn

struct FileFilter {
  std::string description;  // "all files(*.*)"
  std::string patterns;     // "*.*", several separated by semicolons
  friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

struct OpenFileRequest {
  Hwnd owner = nullptr;
  std::string title;  // empty: the platform's own title
  std::vector<FileFilter> filters;
  int filterIndex = 1;  // the initial filter, counted from 1
  std::string defaultExtension;
  std::string fileName;  // initial file name
  std::string initialDirectory;
  std::uint32_t flags = 0;
};

}  // namespace fw
