#include "framework/win_app.h"

namespace fw {

int CWinApp::Run() {
  if (InitInstance()) {
    // Programs of this framework run their windows inside InitInstance; nothing else to pump.
  }
  return ExitInstance();
}

void CWinApp::SetMainWnd(CWnd* window) {
  if (m_pMainWnd != nullptr) m_pMainWnd->SetCommandFallback(nullptr);
  m_pMainWnd = window;
  windows_.SetMainWnd(window);
  if (window != nullptr) window->SetCommandFallback(this);
}

}  // namespace fw
