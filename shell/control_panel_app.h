// CControlPanelApp: the application object. Refuses a second instance, keeps the About
// dialog, and runs the Control Panel window modally for the whole life of the program.
#pragma once

#include "framework/win_app.h"
#include "platform/platform.h"
#include "platform/win_types.h"
#include "shell/about_dlg.h"
#include "shell/control_panel_dlg.h"

namespace korven {

class CControlPanelApp : public fw::CWinApp {
 public:
  static constexpr const char* kMutexName = "Quenta";

  CControlPanelApp(fw::WindowSystem& windows, const platform::Platform& platform);

  bool InitInstance() override;
  int ExitInstance() override;
  // "&About" from any tray menu.
  bool OnCommand(unsigned id, unsigned code) override;

  // The running main window, for tests; null outside the modal run.
  CControlPanelDlg* ControlPanel() const { return controlPanel_; }
  CAboutDlg& AboutDlg() { return m_aboutDlg; }

 private:
  const platform::Platform& platform_;
  CAboutDlg m_aboutDlg;
  // The single-instance guard: never waited on or owned; its existence is the signal.
  platform::Handle mutex_ = platform::kNullHandle;
  CControlPanelDlg* controlPanel_ = nullptr;
  ProcessState process_;
};

}  // namespace korven
