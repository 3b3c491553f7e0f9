// A window that hosts the Filter page in a sheet, as the program's main window does, until
// the Control Panel window takes over: it pushes the stored settings on start and returns
// the device to neutral when closed.
#pragma once

#include <memory>

#include "framework/dialog.h"
#include "framework/property_sheet.h"
#include "pages/effects_page.h"
#include "platform/platform.h"

namespace korven {

class CFilterHostDlg : public fw::CDialog {
 public:
  CFilterHostDlg(fw::WindowSystem& windows, const platform::Platform& platform);
  ~CFilterHostDlg() override;

  CEffectsPage* FilterPage() const { return m_pFilterPage.get(); }
  fw::CPropertySheet& Sheet() { return m_sheet; }

 protected:
  bool OnInitDialog() override;
  void OnCancel() override;
  bool OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam,
                fw::LResult* result) override;

 private:
  void OnClose();

  const platform::Platform& platform_;
  std::unique_ptr<CEffectsPage> m_pFilterPage;
  fw::CPropertySheet m_sheet;

  static const fw::map::Entry<CFilterHostDlg> kMessageMap[];
};

// Runs the host window modally; returns when it is closed.
int RunFilterHost(fw::WindowSystem& windows, const platform::Platform& platform);

}  // namespace korven
