// CFileDialog: the platform's open-file chooser, run modally. Without a parent window the
// chooser belongs to the application's main window.
#pragma once

#include <cstdint>
#include <string>

#include "framework/open_file_request.h"
#include "framework/wnd.h"

namespace fw {

class CFileDialog {
 public:
  // `filter` pairs descriptions and patterns with bars and ends with two:
  // "Programs(*.exe)|*.exe|all files(*.*)|*.*||". Null arguments leave the field empty.
  CFileDialog(WindowSystem& windows, const char* defaultExtension = nullptr,
              const char* fileName = nullptr,
              std::uint32_t flags = ofn::kHideReadOnly | ofn::kOverwritePrompt,
              const char* filter = nullptr, CWnd* parent = nullptr);

  // kIdOk when the user confirmed a file, kIdCancel otherwise.
  std::intptr_t DoModal();
  // Full path of the confirmed file; empty before and after a cancel.
  std::string GetPathName() const { return m_strPathName; }

  // The chooser's fields, to adjust before DoModal (the title, for one).
  OpenFileRequest m_ofn;

 private:
  WindowSystem& windows_;
  CWnd* m_pParentWnd;
  std::string m_strPathName;
};

}  // namespace fw
