// Dialog data exchange: moves bound fields into controls (showing) or controls into fields
// (saving), driven by CDialog::UpdateData.
#pragma once

#include <string>

namespace fw {

class CWnd;

class CDataExchange {
 public:
  CDataExchange(CWnd& dialog, bool saveAndValidate)
      : m_pDlgWnd(&dialog), m_bSaveAndValidate(saveAndValidate) {}
  CWnd* m_pDlgWnd;
  bool m_bSaveAndValidate;
};

// Check box state (0, 1 or 2 for indeterminate).
void DDX_Check(CDataExchange* dx, int id, int& value);
// Window text of a control.
void DDX_Text(CDataExchange* dx, int id, std::string& value);
// Index of the checked radio button in the group that starts at `id` (the group runs to
// the next control with the group style); -1 for none checked. Showing -1 clears the group.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// Binds a control object to the dialog's control `id` the first time it is exchanged.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

}  // namespace fw
