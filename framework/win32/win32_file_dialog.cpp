// The open-file chooser of the Win32 backend. comdlg32 and the printing libraries it brings
// along are loaded at the chooser's first use, not at start-up: most runs never open it.
#include <algorithm>
#include <cstring>

#include "framework/win32/win32_window_system.h"
#include "framework/win32/windows_api.h"

// windows_api.h first: commdlg.h relies on its types.
#include <commdlg.h>

namespace fw::win32 {

namespace {

static_assert(ofn::kOverwritePrompt == OFN_OVERWRITEPROMPT);
static_assert(ofn::kHideReadOnly == OFN_HIDEREADONLY);
static_assert(ofn::kFileMustExist == OFN_FILEMUSTEXIST);

// The chooser's filter list: description and patterns, each ending in a zero, and one more
// zero after the last pair.
std::string FilterList(const std::vector<FileFilter>& filters) {
  std::string list;
  for (const FileFilter& filter : filters) {
    list += filter.description;
    list += '\0';
    list += filter.patterns;
    list += '\0';
  }
  list += '\0';
  return list;
}

const char* OrNull(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

using GetOpenFileNameProc = BOOL(WINAPI*)(LPOPENFILENAMEA);

// GetOpenFileNameA, from comdlg32 loaded on the first call and kept for the process; null
// when it cannot be loaded.
GetOpenFileNameProc OpenFileChooser() {
  static const GetOpenFileNameProc proc = [] {
    HMODULE library = LoadLibraryA("comdlg32.dll");
    return library == nullptr ? nullptr
                              : reinterpret_cast<GetOpenFileNameProc>(reinterpret_cast<void*>(
                                    GetProcAddress(library, "GetOpenFileNameA")));
  }();
  return proc;
}

}  // namespace

std::optional<std::string> Win32WindowSystem::RunOpenFileDialog(const OpenFileRequest& request) {
  const std::string filters = FilterList(request.filters);
  // A path that does not fit the platform's path length fails the chooser, as a cancel does.
  char path[MAX_PATH] = {};
  const std::size_t initial = std::min(request.fileName.size(), sizeof path - 1);
  std::memcpy(path, request.fileName.data(), initial);

  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = reinterpret_cast<HWND>(request.owner);
  ofn.lpstrFilter = request.filters.empty() ? nullptr : filters.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(request.filterIndex);
  ofn.lpstrFile = path;
  ofn.nMaxFile = sizeof path;
  ofn.lpstrInitialDir = OrNull(request.initialDirectory);
  ofn.lpstrTitle = OrNull(request.title);
  ofn.lpstrDefExt = OrNull(request.defaultExtension);
  ofn.Flags = request.flags | OFN_EXPLORER;
  const GetOpenFileNameProc getOpenFileName = OpenFileChooser();
  // Without the library the chooser fails, as a cancel does.
  if (getOpenFileName == nullptr || !getOpenFileName(&ofn)) return std::nullopt;
  return std::string(path);
}

}  // namespace fw::win32
