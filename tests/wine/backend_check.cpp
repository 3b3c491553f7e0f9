// Checks the Win32 window system against its contract on real windows (run under Wine by the
// smoke test): dialog creation and the dialog procedure's rules, modal and modeless ends,
// timers, posted and sent messages, controls, resources. Prints one PASS or FAIL line per
// check and exits with the number of failures.
#include <cstdio>
#include <string>
#include <vector>

#include "framework/win32/win32_window_system.h"
#include "framework/win32/windows_api.h"
#include "res/resource.h"

namespace {

int failures = 0;

void Check(bool ok, const char* name) {
  std::printf("%s %s\n", ok ? "PASS" : "FAIL", name);
  if (!ok) ++failures;
}

constexpr unsigned kAnswer = fw::wm::kUser + 1;   // handled: replies 1234
constexpr unsigned kIgnored = fw::wm::kUser + 2;  // left to the default processing
constexpr unsigned kPosted = fw::wm::kUser + 3;

// Records what the window system tells it, in order.
class Recorder : public fw::MessageTarget {
 public:
  explicit Recorder(fw::WindowSystem& windows) : windows_(windows) {}

  void AttachHandle(fw::Hwnd hwnd) override {
    hwnd_ = hwnd;
    log_.push_back("attach");
  }
  void DetachHandle() override {
    log_.push_back(sawNcDestroy_ ? "detach-after-ncdestroy" : "detach");
    hwnd_ = nullptr;
  }
  bool HandleMessage(unsigned msg, fw::WParam wParam, fw::LParam, fw::LResult* result) override {
    if (msg == fw::wm::kInitDialog) {
      log_.push_back(hwnd_ != nullptr ? "init-with-handle" : "init-without-handle");
      if (timerTicksToEnd_ > 0) windows_.SetTimer(hwnd_, 7, 20);
      *result = 1;
      return true;
    }
    if (msg == fw::wm::kNcDestroy) sawNcDestroy_ = true;
    if (msg == kAnswer) {
      *result = 1234;
      return true;
    }
    if (msg == kPosted) ++posted_;
    if (msg == fw::wm::kTimer && wParam == 7 && ++ticks_ == timerTicksToEnd_) {
      windows_.KillTimer(hwnd_, 7);
      windows_.EndDialog(hwnd_, 42);
    }
    return false;
  }

  fw::Hwnd hwnd_ = nullptr;
  std::vector<std::string> log_;
  bool sawNcDestroy_ = false;
  int posted_ = 0;
  int ticks_ = 0;
  int timerTicksToEnd_ = 0;

 private:
  fw::WindowSystem& windows_;
};

void PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void CheckResources(fw::WindowSystem& windows) {
  Check(windows.GetTemplateCaption(IDD_FILTER) == "Filter", "template caption of a page");
  Check(windows.GetTemplateCaption(9999).empty(), "template caption of a missing template");
  Check(windows.LoadString(IDS_SETTINGS_KEY) == "SOFTWARE\\TALVOR\\KORVEN\\Filter\\",
        "string of the string table");
  Check(windows.LoadString(9999).empty(), "missing string is empty");
  fw::Hicon icon = windows.LoadIcon(IDI_LOGO);
  Check(icon != nullptr && windows.DestroyIcon(icon), "icon loads and is destroyed");
  fw::Hmenu menu = windows.LoadMenu(IDR_MENU_OPEN);
  Check(menu != nullptr && windows.GetSubMenu(menu, 0) != nullptr && windows.DestroyMenu(menu),
        "menu loads with its pop-up");
}

void CheckModeless(fw::WindowSystem& windows) {
  Recorder about(windows);
  fw::Hwnd hwnd = windows.CreateDialogFromTemplate(IDD_ABOUT, nullptr, &about);
  Check(hwnd != nullptr && hwnd == about.hwnd_, "modeless dialog returns the attached window");
  Check(about.log_.size() >= 2 && about.log_[0] == "attach" && about.log_[1] == "init-with-handle",
        "target is attached before WM_INITDIALOG");
  Check(windows.GetWindowText(hwnd) == "About", "dialog takes the template's caption");
  Check(windows.SendMessage(hwnd, kAnswer, 0, 0) == 1234, "handled message returns its result");
  Check(windows.SendMessage(hwnd, kIgnored, 0, 0) == 0, "unhandled message gets the default");
  Check(windows.PostMessage(hwnd, kPosted, 0, 0), "post succeeds");
  PumpPending();
  Check(about.posted_ == 1, "posted message arrives once");

  windows.ShowWindow(hwnd, fw::sw::kShow);
  Check(windows.IsWindowVisible(hwnd), "shown dialog is visible");
  windows.EndDialog(hwnd, 1);
  Check(windows.IsWindow(hwnd) && !windows.IsWindowVisible(hwnd),
        "EndDialog only hides a modeless dialog");

  fw::Hwnd ok = windows.GetDlgItem(hwnd, fw::kIdOk);
  Check(ok != nullptr && windows.GetClassName(ok) == "Button" && windows.GetDlgCtrlId(ok) == 1 &&
            windows.GetParent(ok) == hwnd,
        "control found by id");
  Check(!windows.EnableWindow(ok, false) && !windows.IsWindowEnabled(ok) &&
            windows.EnableWindow(ok, true) && windows.IsWindowEnabled(ok),
        "enable reports the previous state");
  windows.SetWindowText(ok, "Fine");
  Check(windows.GetWindowText(ok) == "Fine", "window text round trip");

  // A page inside it: no caption bar of its own, a child of its parent.
  Recorder page(windows);
  fw::Hwnd child = windows.CreateDialogFromTemplate(IDD_FILTER, hwnd, &page);
  const std::uint32_t style = windows.GetStyle(child);
  Check(child != nullptr && windows.GetParent(child) == hwnd && (style & fw::ws::kChild) != 0 &&
            (style & fw::ws::kCaption) == 0,
        "page dialog is a child without caption");
  Check(windows.GetWindowText(child) == "Filter", "page dialog keeps its caption as text");
  Check(windows.GetClassName(windows.GetDlgItem(child, IDC_ENABLE_FILTER)) == "Button",
        "page controls exist");
  const fw::Rect mapped = windows.MapDialogRect(child, {0, 0, 100, 100});
  Check(mapped.Width() > 100 && mapped.Height() > 100, "dialog units map to more pixels");

  fw::Hwnd tabs =
      windows.CreateControl(hwnd, "SysTabControl32", "", fw::ws::kChild, {0, 0, 200, 100}, 0x3020);
  Check(tabs != nullptr && windows.GetClassName(tabs) == "SysTabControl32" &&
            windows.GetDlgCtrlId(tabs) == 0x3020 && windows.GetWindowRect(tabs).Width() == 200,
        "control made by class name");

  Check(windows.DestroyWindow(hwnd), "destroy succeeds");
  Check(!windows.IsWindow(hwnd) && !windows.IsWindow(child), "dialog and children are gone");
  Check(!about.log_.empty() && about.log_.back() == "detach-after-ncdestroy" &&
            about.hwnd_ == nullptr,
        "target is detached after its last message");
  Check(!page.log_.empty() && page.log_.back() == "detach-after-ncdestroy",
        "page target is detached with its parent");
}

void CheckModal(fw::WindowSystem& windows) {
  Recorder modal(windows);
  modal.timerTicksToEnd_ = 3;
  const std::intptr_t result = windows.RunModalDialog(IDD_ABOUT, nullptr, &modal);
  Check(result == 42, "modal run returns the EndDialog result");
  Check(modal.ticks_ == 3, "timer ticks inside the modal loop");
  Check(!modal.log_.empty() && modal.log_.back() == "detach-after-ncdestroy",
        "modal target is detached at the end");
  Check(windows.RunModalDialog(9999, nullptr, &modal) == -1, "modal run of a missing template");
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  fw::win32::Win32WindowSystem windows;
  CheckResources(windows);
  CheckModeless(windows);
  CheckModal(windows);
  std::printf("%d failed\n", failures);
  return failures;
}
