// Bitmaps, painting, pixels and the mouse of the headless window system.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "framework/headless/headless_window_system.h"
#include "framework/headless/win32_values.h"
#include "framework/headless/window_node.h"

namespace fw::headless {

namespace {

constexpr ColorRef kFaceColor = Rgb(240, 240, 240);  // COLOR_BTNFACE, behind every control
constexpr std::uint32_t kSsRealSizeControl = 0x0040;
constexpr std::uint32_t kSsCenterImage = 0x0200;

std::uint32_t ReadU32(std::span<const std::uint8_t> d, std::size_t at) {
  std::uint32_t v = 0;
  std::memcpy(&v, d.data() + at, 4);
  return v;
}
std::uint16_t ReadU16(std::span<const std::uint8_t> d, std::size_t at) {
  std::uint16_t v = 0;
  std::memcpy(&v, d.data() + at, 2);
  return v;
}

bool IsBitmapStatic(const WindowNode& n) {
  return EqualsIgnoreCase(n.className, "Static") &&
         (n.style & win32::kSsTypeMask) == win32::kSsBitmap;
}
bool IsOwnerDrawButton(const WindowNode& n) {
  return EqualsIgnoreCase(n.className, "Button") && (n.style & bs::kTypeMask) == bs::kOwnerDraw;
}
// Statics without SS_NOTIFY and group boxes let the mouse through to their parent.
bool TakesMouse(const WindowNode& n) {
  if (EqualsIgnoreCase(n.className, "Static")) return (n.style & win32::kSsNotify) != 0;
  if (EqualsIgnoreCase(n.className, "Button")) return (n.style & bs::kTypeMask) != bs::kGroupBox;
  return true;
}

}  // namespace

// --- Bitmaps -----------------------------------------------------------------------------

// A device-independent bitmap of the resources (BITMAPINFOHEADER, colour table, rows) of 8,
// 24 or 32 bits a pixel, uncompressed; nullopt for anything else or a short one.
std::optional<HeadlessWindowSystem::Bitmap> HeadlessWindowSystem::DecodeBitmap(
    const res::ResourceId& name) const {
  const res::ResourceEntry* entry =
      resources_->Find(res::ResourceId::Number(res::kTypeBitmap), name);
  if (entry == nullptr) return std::nullopt;
  const std::span<const std::uint8_t> d = entry->data;
  if (d.size() < 40 || ReadU32(d, 0) < 40) return std::nullopt;
  const std::size_t headerSize = ReadU32(d, 0);
  const auto width = static_cast<std::int32_t>(ReadU32(d, 4));
  const auto rawHeight = static_cast<std::int32_t>(ReadU32(d, 8));
  const unsigned bits = ReadU16(d, 14);
  const std::uint32_t compression = ReadU32(d, 16);
  std::uint32_t colours = ReadU32(d, 32);
  if (width <= 0 || width > 4096 || rawHeight == 0 || rawHeight < -4096 || rawHeight > 4096 ||
      compression != 0 || (bits != 8 && bits != 24 && bits != 32)) {
    return std::nullopt;
  }
  if (bits == 8 && colours == 0) colours = 256;
  if (bits != 8) colours = 0;  // a table beside true colour is only advice
  const int height = rawHeight < 0 ? -rawHeight : rawHeight;
  const std::size_t table = headerSize;
  const std::size_t bitsAt = table + std::size_t{colours} * 4;
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  if (headerSize > d.size() || bitsAt + stride * static_cast<std::size_t>(height) > d.size()) {
    return std::nullopt;
  }
  Bitmap bitmap;
  bitmap.name = name.isNumber ? std::to_string(name.number) : name.name;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const int row = rawHeight < 0 ? y : height - 1 - y;  // bottom-up unless the height is negative
    const std::uint8_t* p = d.data() + bitsAt + stride * static_cast<std::size_t>(row);
    for (int x = 0; x < width; ++x) {
      std::uint8_t b = 0, g = 0, r = 0;
      if (bits == 8) {
        const std::size_t entryAt = table + std::size_t{p[x]} * 4;
        if (p[x] >= colours) continue;
        b = d[entryAt];
        g = d[entryAt + 1];
        r = d[entryAt + 2];
      } else {
        const std::uint8_t* px = p + static_cast<std::size_t>(x) * (bits / 8);
        b = px[0];
        g = px[1];
        r = px[2];
      }
      bitmap.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)] = Rgb(r, g, b);
    }
  }
  return bitmap;
}

Hbitmap HeadlessWindowSystem::LoadBitmap(int bitmapId) {
  if (bitmapId <= 0 || bitmapId > 0xFFFF) return nullptr;
  std::optional<Bitmap> bitmap =
      DecodeBitmap(res::ResourceId::Number(static_cast<std::uint16_t>(bitmapId)));
  if (!bitmap) return nullptr;
  auto handle = reinterpret_cast<Hbitmap>(nextBitmap_++ * 4 + 0x30000);
  bitmaps_.emplace(handle, std::move(*bitmap));
  return handle;
}

Hbitmap HeadlessWindowSystem::LoadBitmapByName(std::string_view name) {
  // The resource compiler keeps names in capitals; lookups ignore case.
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::optional<Bitmap> bitmap = DecodeBitmap(res::ResourceId::Name(upper));
  if (!bitmap) return nullptr;
  auto handle = reinterpret_cast<Hbitmap>(nextBitmap_++ * 4 + 0x30000);
  bitmaps_.emplace(handle, std::move(*bitmap));
  return handle;
}

bool HeadlessWindowSystem::DeleteObject(Hbitmap bitmap) {
  return bitmaps_.erase(bitmap) != 0;
}

std::string HeadlessWindowSystem::BitmapName(Hbitmap bitmap) const {
  auto it = bitmaps_.find(bitmap);
  return it == bitmaps_.end() ? std::string() : it->second.name;
}

Hbitmap HeadlessWindowSystem::StaticImage(Hwnd control) const {
  const WindowNode* n = Find(control);
  return n == nullptr ? nullptr : reinterpret_cast<Hbitmap>(n->image);
}

std::string HeadlessWindowSystem::ShownBitmap(Hwnd control) const {
  const WindowNode* n = Find(control);
  if (n == nullptr) return {};
  if (n->image != 0) return BitmapName(reinterpret_cast<Hbitmap>(n->image));
  return n->imageOrdinal ? std::to_string(*n->imageOrdinal) : std::string();
}

Hbitmap HeadlessWindowSystem::DrawnBitmap(Hwnd hwnd) const {
  auto it = surfaces_.find(hwnd);
  return it == surfaces_.end() ? nullptr : it->second.drawn;
}

// --- Statics -----------------------------------------------------------------------------

void HeadlessWindowSystem::SizeToImage(Hwnd control) {
  WindowNode* n = Find(control);
  if (n == nullptr || !IsBitmapStatic(*n) || (n->style & (kSsRealSizeControl | kSsCenterImage))) {
    return;
  }
  int width = 0;
  int height = 0;
  if (auto it = bitmaps_.find(reinterpret_cast<Hbitmap>(n->image)); it != bitmaps_.end()) {
    width = it->second.width;
    height = it->second.height;
  } else if (n->image == 0 && n->imageOrdinal) {
    if (std::optional<Bitmap> b = DecodeBitmap(res::ResourceId::Number(*n->imageOrdinal))) {
      width = b->width;
      height = b->height;
    }
  }
  if (width == 0) return;
  n->rect.right = n->rect.left + width;
  n->rect.bottom = n->rect.top + height;
}

LResult HeadlessWindowSystem::StaticDefault(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  WindowNode* n = Find(hwnd);
  switch (msg) {
    case stm::kSetImage: {
      if (wParam != stm::kImageBitmap) return 0;
      const LParam previous = n->image;
      n->image = lParam;
      SizeToImage(hwnd);
      Paint(hwnd);  // the new image shows at once
      return previous;
    }
    case stm::kGetImage:
      return wParam == stm::kImageBitmap ? n->image : 0;
    case wm::kClose:
      DestroyWindow(hwnd);
      return 0;
    default:
      return 0;
  }
}

// --- Painting ----------------------------------------------------------------------------

HeadlessWindowSystem::Surface& HeadlessWindowSystem::SurfaceOf(Hwnd hwnd) {
  const Rect client = GetClientRect(hwnd);
  Surface& s = surfaces_[hwnd];
  if (s.width != client.Width() || s.height != client.Height()) Paint(hwnd);
  return surfaces_[hwnd];
}

void HeadlessWindowSystem::Paint(Hwnd hwnd) {
  WindowNode* n = Find(hwnd);
  if (n == nullptr) return;
  pendingUpdate_.erase(hwnd);
  const Rect client = GetClientRect(hwnd);
  Surface& s = surfaces_[hwnd];
  s.width = std::max(client.Width(), 0);
  s.height = std::max(client.Height(), 0);
  s.pixels.assign(static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height),
                  kFaceColor);
  s.drawn = nullptr;
  if (IsBitmapStatic(*n)) {
    std::optional<Bitmap> decoded;
    const Bitmap* image = nullptr;
    if (auto it = bitmaps_.find(reinterpret_cast<Hbitmap>(n->image)); it != bitmaps_.end()) {
      image = &it->second;
    } else if (n->image == 0 && n->imageOrdinal) {
      decoded = DecodeBitmap(res::ResourceId::Number(*n->imageOrdinal));
      if (decoded) image = &*decoded;
    }
    if (image != nullptr) {
      for (int y = 0; y < std::min(s.height, image->height); ++y) {
        for (int x = 0; x < std::min(s.width, image->width); ++x) {
          s.pixels[static_cast<std::size_t>(y * s.width + x)] =
              image->pixels[static_cast<std::size_t>(y * image->width + x)];
        }
      }
    }
  } else if (IsOwnerDrawButton(*n) && n->parent != nullptr) {
    Hdc dc = GetDC(hwnd);
    DrawItem item;
    item.ctlType = odt::kButton;
    item.ctlId = static_cast<unsigned>(n->id);
    item.itemAction = odt::kDrawEntire;
    item.itemState = (n->style & ws::kDisabled) ? odt::kStateDisabled : 0;
    item.hwndItem = hwnd;
    item.dc = dc;
    item.rcItem = client;
    SendMessage(n->parent, wm::kDrawItem, static_cast<WParam>(n->id),
                reinterpret_cast<LParam>(&item));
    ReleaseDC(hwnd, dc);
  }
}

void HeadlessWindowSystem::PaintTree(Hwnd hwnd) {
  Paint(hwnd);
  for (Hwnd child : Children(hwnd)) PaintTree(child);
}

void HeadlessWindowSystem::ForgetDrawing(Hwnd hwnd) {
  surfaces_.erase(hwnd);
  pendingUpdate_.erase(hwnd);
}

void HeadlessWindowSystem::Uncover(Hwnd hwnd) {
  if (Find(hwnd) == nullptr) return;
  pendingUpdate_[hwnd] = true;
  for (Hwnd child : Children(hwnd)) Uncover(child);
}

void HeadlessWindowSystem::PaintPending() {
  std::vector<Hwnd> pending;
  for (const auto& [hwnd, flag] : pendingUpdate_) pending.push_back(hwnd);
  for (Hwnd hwnd : pending) Paint(hwnd);
}

bool HeadlessWindowSystem::RedrawWindow(Hwnd hwnd, unsigned flags) {
  if (Find(hwnd) == nullptr) return false;
  if (flags & rdw::kInvalidate) {
    if (flags & rdw::kAllChildren) {
      Uncover(hwnd);
    } else {
      pendingUpdate_[hwnd] = true;
    }
  }
  if (flags & rdw::kUpdateNow) {
    if (pendingUpdate_.count(hwnd) != 0) Paint(hwnd);
    if (flags & rdw::kAllChildren) {
      for (Hwnd child : Children(hwnd)) {
        if (pendingUpdate_.count(child) != 0) PaintTree(child);
      }
    }
  }
  return true;
}

bool HeadlessWindowSystem::HasUpdateRegion(Hwnd hwnd) {
  return pendingUpdate_.count(hwnd) != 0;
}

// --- Drawing contexts --------------------------------------------------------------------

Hdc HeadlessWindowSystem::GetDC(Hwnd hwnd) {
  if (Find(hwnd) == nullptr) return nullptr;
  auto dc = reinterpret_cast<Hdc>(nextDc_++ * 4 + 0x40000);
  dcs_.emplace(dc, hwnd);
  return dc;
}

bool HeadlessWindowSystem::ReleaseDC(Hwnd hwnd, Hdc dc) {
  auto it = dcs_.find(dc);
  if (it == dcs_.end() || it->second != hwnd) return false;
  dcs_.erase(it);
  return true;
}

ColorRef HeadlessWindowSystem::GetPixel(Hdc dc, int x, int y) {
  auto it = dcs_.find(dc);
  if (it == dcs_.end() || !IsWindowVisible(it->second)) return kInvalidColor;
  return PixelAt(it->second, x, y);
}

ColorRef HeadlessWindowSystem::PixelAt(Hwnd hwnd, int x, int y) {
  if (Find(hwnd) == nullptr) return kInvalidColor;
  const Surface& s = SurfaceOf(hwnd);
  if (x < 0 || y < 0 || x >= s.width || y >= s.height) return kInvalidColor;
  return s.pixels[static_cast<std::size_t>(y * s.width + x)];
}

ColorRef HeadlessWindowSystem::SetPixel(Hdc dc, int x, int y, ColorRef color) {
  auto it = dcs_.find(dc);
  if (it == dcs_.end() || !IsWindowVisible(it->second)) return kInvalidColor;
  Surface& s = SurfaceOf(it->second);
  if (x < 0 || y < 0 || x >= s.width || y >= s.height) return kInvalidColor;
  s.pixels[static_cast<std::size_t>(y * s.width + x)] = color;
  return color;
}

bool HeadlessWindowSystem::DrawBitmap(Hdc dc, Hbitmap bitmap, int x, int y) {
  auto it = dcs_.find(dc);
  auto image = bitmaps_.find(bitmap);
  if (it == dcs_.end() || image == bitmaps_.end()) return false;
  Surface& s = SurfaceOf(it->second);
  const Bitmap& b = image->second;
  for (int row = 0; row < b.height; ++row) {
    for (int col = 0; col < b.width; ++col) {
      const int px = x + col;
      const int py = y + row;
      if (px < 0 || py < 0 || px >= s.width || py >= s.height) continue;
      s.pixels[static_cast<std::size_t>(py * s.width + px)] =
          b.pixels[static_cast<std::size_t>(row * b.width + col)];
    }
  }
  s.drawn = bitmap;
  return true;
}

// --- Mouse -------------------------------------------------------------------------------

bool HeadlessWindowSystem::SendMouse(Hwnd window, Point client, unsigned msg, WParam keys) {
  if (!AcceptsInput(window)) return false;
  Hwnd receiver = window;
  Point at = client;
  for (bool descended = true; descended;) {
    descended = false;
    for (Hwnd child : Children(receiver)) {
      const WindowNode* c = Find(child);
      if (!(c->style & ws::kVisible) || (c->style & ws::kDisabled) || !TakesMouse(*c)) continue;
      if (at.x < c->rect.left || at.x >= c->rect.right || at.y < c->rect.top ||
          at.y >= c->rect.bottom) {
        continue;
      }
      receiver = child;
      at = {at.x - c->rect.left, at.y - c->rect.top};
      descended = true;
      break;
    }
  }
  SendMessage(receiver, msg, keys, LParamFromPoint(at));
  PumpMessages();
  return true;
}

bool HeadlessWindowSystem::MouseDown(Hwnd window, Point client) {
  return SendMouse(window, client, wm::kLButtonDown, mk::kLButton);
}

bool HeadlessWindowSystem::MouseUp(Hwnd window, Point client) {
  return SendMouse(window, client, wm::kLButtonUp, 0);
}

bool HeadlessWindowSystem::MouseMove(Hwnd window, Point client, bool buttonDown) {
  return SendMouse(window, client, wm::kMouseMove, buttonDown ? mk::kLButton : 0);
}

}  // namespace fw::headless
