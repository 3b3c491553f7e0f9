// CPropertyPage: a dialog shown as one page of a CPropertySheet.
#pragma once

#include "framework/dialog.h"

namespace fw {

class CPropertySheet;

class CPropertyPage : public CDialog {
 public:
  CPropertyPage(WindowSystem& windows, int templateId) : CDialog(windows, templateId) {}

  // The sheet makes this the active page. The framework's own work: on every activation
  // but the first, show the fields in the controls. FALSE refuses the activation.
  virtual bool OnSetActive();
  // The sheet leaves this page. The framework's own work: save the controls into the
  // fields; FALSE keeps the page.
  virtual bool OnKillActive();

  CPropertySheet* GetSheet() const { return m_pSheet; }

 protected:
  // Enter and Esc inside a page belong to the window that hosts the sheet, not to the page.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  friend class CPropertySheet;
  CPropertySheet* m_pSheet = nullptr;
  bool m_bFirstSetActive = true;
};

}  // namespace fw
