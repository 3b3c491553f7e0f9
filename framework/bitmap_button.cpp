#include "framework/bitmap_button.h"

namespace fw {

CBitmapButton::~CBitmapButton() {
  FreeBitmap();
}

bool CBitmapButton::SubclassDlgItem(int id, const CWnd& parent) {
  Hwnd control = parent.GetDlgItem(id);
  if (control == nullptr) return false;
  Attach(control);
  return true;
}

bool CBitmapButton::LoadBitmaps(std::string_view name) {
  FreeBitmap();
  bitmap_ = Windows().LoadBitmapByName(name);
  return bitmap_ != nullptr;
}

void CBitmapButton::FreeBitmap() {
  if (bitmap_ == nullptr) return;
  Windows().DeleteObject(bitmap_);
  bitmap_ = nullptr;
}

bool CBitmapButton::OnChildNotify(unsigned msg, WParam, LParam lParam, LResult* result) {
  if (msg != wm::kDrawItem || lParam == 0) return false;
  const auto* item = reinterpret_cast<const DrawItem*>(lParam);
  if (bitmap_ != nullptr) {
    Windows().DrawBitmap(item->dc, bitmap_, item->rcItem.left, item->rcItem.top);
  }
  *result = 1;
  return true;
}

}  // namespace fw
