// CComboBox: a drop-down list control of a dialog, bound with DDX_Control. Each operation is
// one message to the control, which keeps all the state.
#pragma once

#include <string>
#include <string_view>

#include "framework/wnd.h"

namespace fw {

class CComboBox : public CWnd {
 public:
  explicit CComboBox(WindowSystem& windows) : CWnd(windows) {}

  void ResetContent() const;
  // Index of the new item, or cb::kErr.
  int AddString(std::string_view text) const;
  // At `index` (-1: at the end); index of the new item, or cb::kErr past the end.
  int InsertString(int index, std::string_view text) const;
  // Count of items left, or cb::kErr.
  int DeleteString(int index) const;
  // First item after `startAfter` whose text begins with `prefix`, without regard to case,
  // wrapping round to the top (CB_FINDSTRING; -1 searches the whole list); cb::kErr if none.
  int FindString(int startAfter, std::string_view prefix) const;
  int GetCount() const;
  int GetCurSel() const;
  // -1 clears the selection; cb::kErr when nothing is selected afterwards.
  int SetCurSel(int index) const;
  // Text of item `index`; empty when there is no such item.
  std::string GetLBText(int index) const;
};

}  // namespace fw
