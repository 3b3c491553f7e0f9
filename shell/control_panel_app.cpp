#include "shell/control_panel_app.h"

#include "framework/messages.h"
#include "platform/system.h"
#include "res/resource.h"
#include "shell/control_panel_dlg.h"

namespace korven {

CControlPanelApp::CControlPanelApp(fw::WindowSystem& windows, const platform::Platform& platform)
    : CWinApp(windows), platform_(platform), m_aboutDlg(windows) {}

bool CControlPanelApp::InitInstance() {
  mutex_ = platform_.system->CreateMutex(kMutexName);
  if (platform_.system->GetLastError() ==
      static_cast<platform::Dword>(platform::error::kAlreadyExists)) {
    Windows().MessageBox(nullptr, Windows().LoadString(IDS_ALREADY_RUNNING),
                         Windows().LoadString(IDS_CAPTION_ERROR), fw::mb::kOk | fw::mb::kIconHand);
    return false;
  }
  m_aboutDlg.Create(nullptr);

  CControlPanelDlg controlPanel(Windows(), platform_, process_);
  controlPanel_ = &controlPanel;
  SetMainWnd(&controlPanel);
  controlPanel.DoModal();
  SetMainWnd(nullptr);
  controlPanel_ = nullptr;
  return false;
}

int CControlPanelApp::ExitInstance() {
  if (mutex_ != platform::kNullHandle) {
    platform_.system->CloseHandle(mutex_);
    mutex_ = platform::kNullHandle;
  }
  m_aboutDlg.DestroyWindow();
  return CWinApp::ExitInstance();
}

bool CControlPanelApp::OnCommand(unsigned id, unsigned /*code*/) {
  if (id != ID_TRAY_ABOUT) return false;
  m_aboutDlg.ShowWindow(fw::sw::kShow);
  return true;
}

}  // namespace korven
