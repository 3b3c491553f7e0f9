// CDialog: a window made from a dialog template of the program's resources, modal or modeless.
#pragma once

#include <cstdint>

#include "framework/data_exchange.h"
#include "framework/wnd.h"

namespace fw {

class CDialog : public CWnd {
 public:
  CDialog(WindowSystem& windows, int templateId, CWnd* parent = nullptr)
      : CWnd(windows), m_nIDTemplate(templateId), m_pParentWnd(parent) {}

  // Modeless: creates the window (hidden unless the template says visible) as a child or
  // owned window of `parent`. False when the window cannot be created.
  virtual bool Create(CWnd* parent = nullptr);
  // Modal run; returns the EndDialog result, or -1 when the dialog cannot be created.
  virtual std::intptr_t DoModal();
  // Ends a modal run; a modeless dialog is only hidden.
  void EndDialog(std::intptr_t result);
  // Saving (true): controls into fields; showing (false): fields into controls.
  bool UpdateData(bool saveAndValidate = true);

  int GetTemplateId() const { return m_nIDTemplate; }
  CWnd* GetParentWnd() const { return m_pParentWnd; }

 protected:
  // The framework's initialisation shows the fields in the controls; TRUE gives the
  // default focus.
  virtual bool OnInitDialog();
  virtual void OnOK();      // IDOK: save the fields, then end with IDOK
  virtual void OnCancel();  // IDCANCEL, Esc and the close box: end with IDCANCEL
  virtual void DoDataExchange(CDataExchange* dx);

  bool OnWndMsg(unsigned msg, WParam wParam, LParam lParam, LResult* result) override;

  int m_nIDTemplate;
  CWnd* m_pParentWnd;
};

}  // namespace fw
