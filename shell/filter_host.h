// A window that hosts the Volume, Filter and Remote Controller pages in a sheet, as the
// program's main window does, until the Control Panel window takes over: it pushes the stored
// settings on start and returns the device to neutral when closed.
#pragma once

#include <memory>

#include "framework/dialog.h"
#include "framework/property_sheet.h"
#include "pages/effects_page.h"
#include "pages/volume_page.h"
#include "platform/platform.h"
#include "remote/remote_ctrl_page.h"

namespace korven {

class CFilterHostDlg : public fw::CDialog {
 public:
  CFilterHostDlg(fw::WindowSystem& windows, const platform::Platform& platform);
  ~CFilterHostDlg() override;

  CVolumePage* VolumePage() const { return m_pVolumePage.get(); }
  CEffectsPage* FilterPage() const { return m_pFilterPage.get(); }
  CRemoteCtrlPage* RemoteCtrlPage() const { return m_pRemoteCtrlPage.get(); }
  fw::CPropertySheet& Sheet() { return m_sheet; }

 protected:
  bool OnInitDialog() override;
  void OnCancel() override;
  bool OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam, fw::LResult* result) override;

 private:
  void OnClose();

  const platform::Platform& platform_;
  std::unique_ptr<CVolumePage> m_pVolumePage;
  std::unique_ptr<CEffectsPage> m_pFilterPage;
  std::unique_ptr<CRemoteCtrlPage> m_pRemoteCtrlPage;
  fw::CPropertySheet m_sheet;

  static const fw::map::Entry<CFilterHostDlg> kMessageMap[];
};

// Runs the host window modally; returns when it is closed.
int RunFilterHost(fw::WindowSystem& windows, const platform::Platform& platform);

}  // namespace korven
