// The entry point of the framework tests on real windows (run under Wine): the Win32 window
// system on this program's own resources, time that really passes, and a user who answers
// message boxes and pop-up menus from inside their loops.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "framework/win32/win32_window_system.h"
#include "framework/win32/windows_api.h"
#include "tests/framework/both_backends/test_backend.h"

namespace {

constexpr UINT kPollMs = 10;
constexpr int kMessageBoxTextId = 0xFFFF;

HWND ToHWND(fw::Hwnd hwnd) {
  return reinterpret_cast<HWND>(hwnd);
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

struct Search {
  const std::function<bool(HWND)>* match;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  if (!IsWindowVisible(hwnd) || !(*search->match)(hwnd)) return TRUE;
  search->found = hwnd;
  return FALSE;
}

// The visible top-level window of this thread that `match` accepts; null when none.
HWND FindThreadWindow(const std::function<bool(HWND)>& match) {
  Search search{&match, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK CountChild(HWND, LPARAM count) {
  ++*reinterpret_cast<std::size_t*>(count);
  return TRUE;
}

BOOL CALLBACK CountWithChildren(HWND hwnd, LPARAM count) {
  ++*reinterpret_cast<std::size_t*>(count);
  EnumChildWindows(hwnd, CountChild, count);  // all descendants
  return TRUE;
}

class Win32Backend final : public framework_test::TestBackend {
 public:
  Win32Backend() { current_ = this; }
  ~Win32Backend() override {
    if (pollTimer_ != 0) KillTimer(nullptr, pollTimer_);
    current_ = nullptr;
  }

  fw::WindowSystem& Windows() override { return windows_; }

  void Click(fw::Hwnd button) override { SendMessageA(ToHWND(button), BM_CLICK, 0, 0); }

  void ClickTab(fw::Hwnd tabs, int index) override {
    RECT item{};
    if (!SendMessageA(ToHWND(tabs), TCM_GETITEMRECT, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&item))) {
      return;
    }
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(ToHWND(tabs), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(ToHWND(tabs), WM_LBUTTONUP, 0, at);
  }

  void RunFor(unsigned ms) override {
    const DWORD start = GetTickCount();
    for (;;) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      const DWORD elapsed = GetTickCount() - start;
      if (elapsed >= ms) return;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
  }

  // The box is the dialog of this thread with the text static of a message box.
  void AnswerNextMessageBox(int answer, std::function<bool()> ready, unsigned limitMs) override {
    const DWORD start = GetTickCount();
    Arm([=] {
      HWND box = FindThreadWindow([](HWND hwnd) {
        return ClassOf(hwnd) == "#32770" && GetDlgItem(hwnd, kMessageBoxTextId) != nullptr;
      });
      if (box == nullptr || (!ready() && GetTickCount() - start < limitMs)) return false;
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
      return true;
    });
  }

  // The menu is chosen with the keys a user presses: Down to each item, then Return.
  void AnswerNextPopupMenu(int position) override {
    Arm([=] {
      HWND menu = FindThreadWindow([](HWND hwnd) { return ClassOf(hwnd) == "#32768"; });
      if (menu == nullptr) return false;
      for (int i = 0; i <= position; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageA(menu, WM_KEYDOWN, position < 0 ? VK_ESCAPE : VK_RETURN, 0);
      return true;
    });
  }

  std::size_t LiveWindowCount() override {
    std::size_t count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWithChildren, reinterpret_cast<LPARAM>(&count));
    return count;
  }

 private:
  // A user's act waits for its window: a thread timer tries it from inside whatever loop runs
  // (a message box's, a menu's) until it is done.
  void Arm(std::function<bool()> act) {
    pending_.push_back(std::move(act));
    if (pollTimer_ == 0) pollTimer_ = SetTimer(nullptr, 0, kPollMs, Poll);
  }
  static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
    Win32Backend* self = current_;
    if (self == nullptr || self->pending_.empty()) return;
    if (self->pending_.front()()) self->pending_.pop_front();
    if (self->pending_.empty()) {
      KillTimer(nullptr, self->pollTimer_);
      self->pollTimer_ = 0;
    }
  }

  static inline Win32Backend* current_ = nullptr;
  fw::win32::Win32WindowSystem windows_;
  std::deque<std::function<bool()>> pending_;
  UINT_PTR pollTimer_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  framework_test::SetBackendFactory([] { return std::make_unique<Win32Backend>(); });
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
