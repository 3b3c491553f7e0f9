// CWinApp: the application object. Run() gives the program its shape: InitInstance does the
// work (a program without a message loop of its own returns false from it), then
// ExitInstance cleans up and gives the exit code. Commands its main window leaves unhandled
// come to the application.
#pragma once

#include "framework/wnd.h"

namespace fw {

class CWinApp {
 public:
  explicit CWinApp(WindowSystem& windows) : windows_(windows) {}
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;
  virtual ~CWinApp() = default;

  int Run();

  virtual bool InitInstance() = 0;
  virtual int ExitInstance() { return 0; }
  // A command (menu item, button) the main window did not handle; true when handled.
  virtual bool OnCommand(unsigned /*id*/, unsigned /*code*/) { return false; }

  void SetMainWnd(CWnd* window);
  CWnd* GetMainWnd() const { return m_pMainWnd; }
  WindowSystem& Windows() const { return windows_; }

 protected:
  CWnd* m_pMainWnd = nullptr;

 private:
  WindowSystem& windows_;
};

}  // namespace fw
