#include "framework/combo_box.h"

namespace fw {

namespace {

LParam TextParam(const std::string& text) {
  return reinterpret_cast<LParam>(text.c_str());
}

}  // namespace

void CComboBox::ResetContent() const {
  SendMessage(cb::kResetContent);
}

int CComboBox::AddString(std::string_view text) const {
  const std::string copy(text);
  return static_cast<int>(SendMessage(cb::kAddString, 0, TextParam(copy)));
}

int CComboBox::InsertString(int index, std::string_view text) const {
  const std::string copy(text);
  return static_cast<int>(
      SendMessage(cb::kInsertString, static_cast<WParam>(index), TextParam(copy)));
}

int CComboBox::DeleteString(int index) const {
  return static_cast<int>(SendMessage(cb::kDeleteString, static_cast<WParam>(index)));
}

int CComboBox::FindString(int startAfter, std::string_view prefix) const {
  const std::string copy(prefix);
  return static_cast<int>(
      SendMessage(cb::kFindString, static_cast<WParam>(startAfter), TextParam(copy)));
}

int CComboBox::GetCount() const {
  return static_cast<int>(SendMessage(cb::kGetCount));
}

int CComboBox::GetCurSel() const {
  return static_cast<int>(SendMessage(cb::kGetCurSel));
}

int CComboBox::SetCurSel(int index) const {
  return static_cast<int>(SendMessage(cb::kSetCurSel, static_cast<WParam>(index)));
}

std::string CComboBox::GetLBText(int index) const {
  const LResult length = SendMessage(cb::kGetLbTextLen, static_cast<WParam>(index));
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LResult copied = SendMessage(cb::kGetLbText, static_cast<WParam>(index),
                                     reinterpret_cast<LParam>(text.data()));
  text.resize(copied > 0 && copied <= length ? static_cast<std::size_t>(copied) : 0);
  return text;
}

}  // namespace fw
