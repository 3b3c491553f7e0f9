// CBitmapButton: an owner-drawn push button that draws one bitmap, loaded by resource name,
// for every state (pressed, focused, disabled alike). The button owns its bitmap.
#pragma once

#include <string_view>

#include "framework/wnd.h"

namespace fw {

class CBitmapButton : public CWnd {
 public:
  using CWnd::CWnd;
  ~CBitmapButton() override;

  // Takes over control `id` of `parent`.
  bool SubclassDlgItem(int id, const CWnd& parent);
  // Loads the named bitmap as the only image, freeing the one before. False when absent
  // (the button then draws nothing).
  bool LoadBitmaps(std::string_view name);
  Hbitmap GetBitmap() const { return bitmap_; }

 protected:
  bool OnChildNotify(unsigned msg, WParam wParam, LParam lParam, LResult* result) override;

 private:
  void FreeBitmap();

  Hbitmap bitmap_ = nullptr;
};

}  // namespace fw
