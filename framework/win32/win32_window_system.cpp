#include "framework/win32/win32_window_system.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "framework/resources/dialog_template.h"
#include "framework/win32/dialog_procedure.h"
#include "framework/win32/windows_api.h"

namespace fw::win32 {
namespace {

constexpr int kResourceDialog = 5;     // RT_DIALOG
constexpr int kResourceDlgInit = 240;  // RT_DLGINIT

HWND ToHWND(Hwnd hwnd) {
  return reinterpret_cast<HWND>(hwnd);
}
Hwnd FromHWND(HWND hwnd) {
  return reinterpret_cast<Hwnd>(hwnd);
}

// A template of child style (a property page) made into a part of its parent: without the
// caption bar and system menu it keeps for editors, and a control of the parent for tabbing,
// as the platform's property sheets do. Empty when the template is not a child's.
std::vector<std::uint8_t> ChildDialogTemplate(std::span<const std::uint8_t> data) {
  if (data.size() < 18) return {};
  // DLGTEMPLATEEX starts with version 1 and signature 0xFFFF; its style follows helpID and
  // exStyle. A DLGTEMPLATE starts with its style.
  const bool extended = data[0] == 1 && data[1] == 0 && data[2] == 0xFF && data[3] == 0xFF;
  const std::size_t offset = extended ? 12 : 0;
  DWORD style = 0;
  std::memcpy(&style, data.data() + offset, sizeof style);
  if ((style & WS_CHILD) == 0) return {};
  style &= ~static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_POPUP | DS_MODALFRAME);
  style |= DS_CONTROL;
  std::vector<std::uint8_t> copy(data.begin(), data.end());
  std::memcpy(copy.data() + offset, &style, sizeof style);
  return copy;
}

HMENU ToHMENU(Hmenu menu) {
  return reinterpret_cast<HMENU>(menu);
}
Hmenu FromHMENU(HMENU menu) {
  return reinterpret_cast<Hmenu>(menu);
}

Rect FromRECT(const RECT& r) {
  return Rect{r.left, r.top, r.right, r.bottom};
}
RECT ToRECT(const Rect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

}  // namespace

Win32WindowSystem::Win32WindowSystem(void* instance)
    : instance_(instance != nullptr ? instance : GetModuleHandleA(nullptr)) {}

bool Win32WindowSystem::IsModalTarget(const MessageTarget* target) const {
  return target != nullptr &&
         std::find(modalTargets_.begin(), modalTargets_.end(), target) != modalTargets_.end();
}

std::span<const std::uint8_t> Win32WindowSystem::FindResourceData(int id, int type) const {
  auto module = static_cast<HMODULE>(instance_);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type));
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

Hwnd Win32WindowSystem::CreateDialogFromTemplate(int templateId, Hwnd parent,
                                                 MessageTarget* target) {
  const DialogCreation creation{target, FindResourceData(templateId, kResourceDlgInit)};
  const auto lParam = reinterpret_cast<LPARAM>(&creation);
  const std::vector<std::uint8_t> page =
      ChildDialogTemplate(FindResourceData(templateId, kResourceDialog));
  if (!page.empty()) {
    // Templates are read as DWORD-aligned data, as resources are.
    std::vector<DWORD> aligned((page.size() + 3) / 4);
    std::memcpy(aligned.data(), page.data(), page.size());
    return FromHWND(CreateDialogIndirectParamA(static_cast<HINSTANCE>(instance_),
                                               reinterpret_cast<LPCDLGTEMPLATEA>(aligned.data()),
                                               ToHWND(parent), DialogProcedure, lParam));
  }
  return FromHWND(CreateDialogParamA(static_cast<HINSTANCE>(instance_),
                                     MAKEINTRESOURCEA(templateId), ToHWND(parent), DialogProcedure,
                                     lParam));
}

std::intptr_t Win32WindowSystem::RunModalDialog(int templateId, Hwnd owner, MessageTarget* target) {
  modalTargets_.push_back(target);
  const DialogCreation creation{target, FindResourceData(templateId, kResourceDlgInit)};
  const INT_PTR result =
      DialogBoxParamA(static_cast<HINSTANCE>(instance_), MAKEINTRESOURCEA(templateId),
                      ToHWND(owner), DialogProcedure, reinterpret_cast<LPARAM>(&creation));
  // Modal runs nest, so the innermost one ends first.
  auto it = std::find(modalTargets_.rbegin(), modalTargets_.rend(), target);
  if (it != modalTargets_.rend()) modalTargets_.erase(std::next(it).base());
  return result;
}

void Win32WindowSystem::EndDialog(Hwnd dialog, std::intptr_t result) {
  HWND hwnd = ToHWND(dialog);
  const auto* target = reinterpret_cast<const MessageTarget*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (IsModalTarget(target)) {
    ::EndDialog(hwnd, result);
  } else {
    ::ShowWindow(hwnd, SW_HIDE);
  }
}

std::string Win32WindowSystem::GetTemplateCaption(int templateId) {
  auto parsed = res::ParseDialogTemplate(FindResourceData(templateId, kResourceDialog));
  return parsed ? parsed->caption : std::string();
}

Rect Win32WindowSystem::GetTemplateSize(int templateId) {
  auto parsed = res::ParseDialogTemplate(FindResourceData(templateId, kResourceDialog));
  return parsed ? Rect{0, 0, parsed->cx, parsed->cy} : Rect{};
}

Hwnd Win32WindowSystem::CreateControl(Hwnd parent, const char* className, std::string_view text,
                                      std::uint32_t style, const Rect& rect, int id) {
  const std::string title(text);
  HWND hwnd = CreateWindowExA(0, className, title.c_str(), style, rect.left, rect.top, rect.Width(),
                              rect.Height(), ToHWND(parent),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              static_cast<HINSTANCE>(instance_), nullptr);
  // A control made by hand takes its dialog's font, as the template's controls do.
  if (hwnd != nullptr && parent != nullptr) {
    const LRESULT font = SendMessageA(ToHWND(parent), WM_GETFONT, 0, 0);
    if (font != 0) SendMessageA(hwnd, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  }
  return FromHWND(hwnd);
}

bool Win32WindowSystem::DestroyWindow(Hwnd hwnd) {
  return ::DestroyWindow(ToHWND(hwnd)) != 0;
}

bool Win32WindowSystem::IsWindow(Hwnd hwnd) {
  return hwnd != nullptr && ::IsWindow(ToHWND(hwnd)) != 0;
}

LResult Win32WindowSystem::SendMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return SendMessageA(ToHWND(hwnd), msg, wParam, lParam);
}

bool Win32WindowSystem::PostMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return PostMessageA(ToHWND(hwnd), msg, wParam, lParam) != 0;
}

unsigned Win32WindowSystem::RegisterWindowMessage(std::string_view name) {
  return RegisterWindowMessageA(std::string(name).c_str());
}

Hwnd Win32WindowSystem::GetDlgItem(Hwnd dialog, int id) {
  return FromHWND(::GetDlgItem(ToHWND(dialog), id));
}

int Win32WindowSystem::GetDlgCtrlId(Hwnd hwnd) {
  return GetDlgCtrlID(ToHWND(hwnd));
}

Hwnd Win32WindowSystem::GetParent(Hwnd hwnd) {
  return FromHWND(::GetParent(ToHWND(hwnd)));
}

Hwnd Win32WindowSystem::GetNextSibling(Hwnd hwnd) {
  return FromHWND(GetWindow(ToHWND(hwnd), GW_HWNDNEXT));
}

std::uint32_t Win32WindowSystem::GetStyle(Hwnd hwnd) {
  return static_cast<std::uint32_t>(GetWindowLongA(ToHWND(hwnd), GWL_STYLE));
}

std::string Win32WindowSystem::GetClassName(Hwnd hwnd) {
  char name[256] = {};
  const int length = GetClassNameA(ToHWND(hwnd), name, sizeof name);
  return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool Win32WindowSystem::EnableWindow(Hwnd hwnd, bool enable) {
  return ::EnableWindow(ToHWND(hwnd), enable ? TRUE : FALSE) != 0;
}

bool Win32WindowSystem::IsWindowEnabled(Hwnd hwnd) {
  return ::IsWindowEnabled(ToHWND(hwnd)) != 0;
}

bool Win32WindowSystem::ShowWindow(Hwnd hwnd, int command) {
  return ::ShowWindow(ToHWND(hwnd), command) != 0;
}

bool Win32WindowSystem::IsWindowVisible(Hwnd hwnd) {
  return ::IsWindowVisible(ToHWND(hwnd)) != 0;
}

void Win32WindowSystem::SetWindowText(Hwnd hwnd, std::string_view text) {
  const std::string value(text);
  SetWindowTextA(ToHWND(hwnd), value.c_str());
}

std::string Win32WindowSystem::GetWindowText(Hwnd hwnd) {
  const int length = GetWindowTextLengthA(ToHWND(hwnd));
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(ToHWND(hwnd), text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

Hwnd Win32WindowSystem::SetFocus(Hwnd hwnd) {
  return FromHWND(::SetFocus(ToHWND(hwnd)));
}

Rect Win32WindowSystem::GetWindowRect(Hwnd hwnd) {
  RECT r{};
  ::GetWindowRect(ToHWND(hwnd), &r);
  return FromRECT(r);
}

Rect Win32WindowSystem::GetClientRect(Hwnd hwnd) {
  RECT r{};
  ::GetClientRect(ToHWND(hwnd), &r);
  return FromRECT(r);
}

bool Win32WindowSystem::MoveWindow(Hwnd hwnd, const Rect& rect, bool repaint) {
  return ::MoveWindow(ToHWND(hwnd), rect.left, rect.top, rect.Width(), rect.Height(),
                      repaint ? TRUE : FALSE) != 0;
}

Rect Win32WindowSystem::MapDialogRect(Hwnd dialog, const Rect& dialogUnits) {
  RECT r = ToRECT(dialogUnits);
  ::MapDialogRect(ToHWND(dialog), &r);
  return FromRECT(r);
}

Point Win32WindowSystem::ScreenToClient(Hwnd hwnd, Point screen) {
  POINT p{screen.x, screen.y};
  ::ScreenToClient(ToHWND(hwnd), &p);
  return Point{p.x, p.y};
}

std::uintptr_t Win32WindowSystem::SetTimer(Hwnd hwnd, std::uintptr_t id, unsigned elapseMs) {
  return ::SetTimer(ToHWND(hwnd), id, elapseMs, nullptr);
}

bool Win32WindowSystem::KillTimer(Hwnd hwnd, std::uintptr_t id) {
  return ::KillTimer(ToHWND(hwnd), id) != 0;
}

int Win32WindowSystem::MessageBox(Hwnd owner, std::string_view text, std::string_view caption,
                                  unsigned type) {
  const std::string body(text);
  const std::string title(caption);
  return MessageBoxA(ToHWND(owner), body.c_str(), title.c_str(), type);
}

std::string Win32WindowSystem::LoadString(unsigned id) {
  char buffer[4096] = {};
  const int length = LoadStringA(static_cast<HINSTANCE>(instance_), id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

Hmenu Win32WindowSystem::LoadMenu(int menuId) {
  return FromHMENU(LoadMenuA(static_cast<HINSTANCE>(instance_), MAKEINTRESOURCEA(menuId)));
}

Hmenu Win32WindowSystem::GetSubMenu(Hmenu menu, int position) {
  return FromHMENU(::GetSubMenu(ToHMENU(menu), position));
}

bool Win32WindowSystem::DeleteMenu(Hmenu menu, unsigned item, unsigned flags) {
  return ::DeleteMenu(ToHMENU(menu), item, flags) != 0;
}

bool Win32WindowSystem::DestroyMenu(Hmenu menu) {
  return ::DestroyMenu(ToHMENU(menu)) != 0;
}

int Win32WindowSystem::TrackPopupMenu(Hmenu menu, unsigned flags, int x, int y, Hwnd owner) {
  return static_cast<int>(::TrackPopupMenu(ToHMENU(menu), flags, x, y, 0, ToHWND(owner), nullptr));
}

Point Win32WindowSystem::GetCursorPos() {
  POINT p{};
  ::GetCursorPos(&p);
  return Point{p.x, p.y};
}

bool Win32WindowSystem::SetForegroundWindow(Hwnd hwnd) {
  return ::SetForegroundWindow(ToHWND(hwnd)) != 0;
}

Hicon Win32WindowSystem::LoadIcon(int iconId) {
  // No size asked: the icon's own size, and a handle of its own (not shared).
  HANDLE icon =
      LoadImageA(static_cast<HINSTANCE>(instance_), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 0, 0, 0);
  return reinterpret_cast<Hicon>(icon);
}

bool Win32WindowSystem::DestroyIcon(Hicon icon) {
  return ::DestroyIcon(reinterpret_cast<HICON>(icon)) != 0;
}

}  // namespace fw::win32
