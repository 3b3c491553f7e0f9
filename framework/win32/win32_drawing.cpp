// Bitmaps, painting and pixels of the Win32 window system.
#include <cstddef>
#include <string>

#include "framework/win32/win32_window_system.h"
#include "framework/win32/windows_api.h"

namespace fw::win32 {
namespace {

static_assert(wm::kDrawItem == WM_DRAWITEM);
static_assert(stm::kSetImage == STM_SETIMAGE && stm::kGetImage == STM_GETIMAGE);
static_assert(stm::kImageBitmap == IMAGE_BITMAP);
static_assert(odt::kButton == ODT_BUTTON && odt::kDrawEntire == ODA_DRAWENTIRE);
static_assert(odt::kStateDisabled == ODS_DISABLED);
static_assert(rdw::kInvalidate == RDW_INVALIDATE && rdw::kErase == RDW_ERASE);
static_assert(rdw::kAllChildren == RDW_ALLCHILDREN && rdw::kUpdateNow == RDW_UPDATENOW);
static_assert(mk::kLButton == MK_LBUTTON);
static_assert(kInvalidColor == CLR_INVALID);
static_assert(sizeof(DrawItem) == sizeof(DRAWITEMSTRUCT));
static_assert(offsetof(DrawItem, hwndItem) == offsetof(DRAWITEMSTRUCT, hwndItem));
static_assert(offsetof(DrawItem, dc) == offsetof(DRAWITEMSTRUCT, hDC));
static_assert(offsetof(DrawItem, rcItem) == offsetof(DRAWITEMSTRUCT, rcItem));
static_assert(offsetof(DrawItem, itemData) == offsetof(DRAWITEMSTRUCT, itemData));

HWND ToHWND(Hwnd hwnd) {
  return reinterpret_cast<HWND>(hwnd);
}
HDC ToHDC(Hdc dc) {
  return reinterpret_cast<HDC>(dc);
}
HBITMAP ToHBITMAP(Hbitmap bitmap) {
  return reinterpret_cast<HBITMAP>(bitmap);
}

}  // namespace

Hbitmap Win32WindowSystem::LoadBitmap(int bitmapId) {
  // Natural size, default colours, a handle of its own.
  return reinterpret_cast<Hbitmap>(LoadImageA(static_cast<HINSTANCE>(instance_),
                                              MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, 0));
}

Hbitmap Win32WindowSystem::LoadBitmapByName(std::string_view name) {
  const std::string value(name);
  return reinterpret_cast<Hbitmap>(
      LoadImageA(static_cast<HINSTANCE>(instance_), value.c_str(), IMAGE_BITMAP, 0, 0, 0));
}

bool Win32WindowSystem::DeleteObject(Hbitmap bitmap) {
  return ::DeleteObject(ToHBITMAP(bitmap)) != 0;
}

bool Win32WindowSystem::RedrawWindow(Hwnd hwnd, unsigned flags) {
  return ::RedrawWindow(ToHWND(hwnd), nullptr, nullptr, flags) != 0;
}

bool Win32WindowSystem::HasUpdateRegion(Hwnd hwnd) {
  return ::GetUpdateRect(ToHWND(hwnd), nullptr, FALSE) != 0;
}

Hdc Win32WindowSystem::GetDC(Hwnd hwnd) {
  return reinterpret_cast<Hdc>(::GetDC(ToHWND(hwnd)));
}

bool Win32WindowSystem::ReleaseDC(Hwnd hwnd, Hdc dc) {
  return ::ReleaseDC(ToHWND(hwnd), ToHDC(dc)) != 0;
}

ColorRef Win32WindowSystem::GetPixel(Hdc dc, int x, int y) {
  return ::GetPixel(ToHDC(dc), x, y);
}

ColorRef Win32WindowSystem::SetPixel(Hdc dc, int x, int y, ColorRef color) {
  return ::SetPixel(ToHDC(dc), x, y, color);
}

bool Win32WindowSystem::DrawBitmap(Hdc dc, Hbitmap bitmap, int x, int y) {
  BITMAP info{};
  if (GetObjectA(ToHBITMAP(bitmap), sizeof info, &info) == 0) return false;
  HDC memory = CreateCompatibleDC(ToHDC(dc));
  if (memory == nullptr) return false;
  HGDIOBJ previous = SelectObject(memory, ToHBITMAP(bitmap));
  const BOOL drawn = BitBlt(ToHDC(dc), x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  return drawn != 0;
}

}  // namespace fw::win32
