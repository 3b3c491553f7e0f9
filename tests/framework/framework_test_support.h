// What the framework tests share: their own compiled resources, a window system built on
// them, and a message target that records what reaches it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "framework/window_system.h"

namespace korven::res {
extern const std::uint8_t kFrameworkTestResources[];
extern const std::size_t kFrameworkTestResourcesSize;
}  // namespace korven::res

namespace framework_test {

inline std::span<const std::uint8_t> TestResources() {
  return {korven::res::kFrameworkTestResources, korven::res::kFrameworkTestResourcesSize};
}

struct Delivered {
  fw::Hwnd hwnd;
  unsigned msg;
  fw::WParam wParam;
  fw::LParam lParam;
};

// A window's target that logs every message into a shared journal (so the order across
// windows shows) and leaves it to the default processing unless `handler` takes it.
class RecordingTarget : public fw::MessageTarget {
 public:
  explicit RecordingTarget(std::vector<Delivered>* journal = nullptr)
      : journal_(journal != nullptr ? journal : &own_) {}

  void AttachHandle(fw::Hwnd hwnd) override {
    hwnd_ = hwnd;
    ++attached;
  }
  void DetachHandle() override {
    detachedAfter = journal_->size();
    ++detached;
  }
  bool HandleMessage(unsigned msg, fw::WParam wParam, fw::LParam lParam,
                     fw::LResult* result) override {
    journal_->push_back({hwnd_, msg, wParam, lParam});
    // The header lives only as long as the notification.
    if (msg == fw::wm::kNotify && lParam != 0) {
      notifications.push_back(*reinterpret_cast<const fw::NmHdr*>(lParam));
    }
    return handler ? handler(msg, wParam, lParam, result) : false;
  }

  // The messages of one kind, in order.
  std::vector<Delivered> Of(unsigned msg) const {
    std::vector<Delivered> found;
    for (const Delivered& d : *journal_) {
      if (d.msg == msg && d.hwnd == hwnd_) found.push_back(d);
    }
    return found;
  }
  const std::vector<Delivered>& Journal() const { return *journal_; }
  fw::Hwnd Hwnd() const { return hwnd_; }  // the last window attached

  std::function<bool(unsigned, fw::WParam, fw::LParam, fw::LResult*)> handler;
  std::vector<fw::NmHdr> notifications;  // copies of the WM_NOTIFY headers received
  int attached = 0;
  int detached = 0;
  std::size_t detachedAfter = 0;

 private:
  std::vector<Delivered> own_;
  std::vector<Delivered>* journal_;
  fw::Hwnd hwnd_ = nullptr;
};

}  // namespace framework_test
