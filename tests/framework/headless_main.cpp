// The entry point of the framework tests on the in-memory window system, where time is a
// virtual clock and the user's answers are scripted.
#include <gtest/gtest.h>

#include <memory>

#include "framework/headless/headless_window_system.h"
#include "tests/framework/both_backends/test_backend.h"
#include "tests/framework/framework_test_support.h"

namespace {

using fw::headless::HeadlessWindowSystem;
using fw::headless::MenuPick;

constexpr unsigned kStepMs = 10;

class HeadlessBackend final : public framework_test::TestBackend {
 public:
  HeadlessBackend() {
    // A modal loop runs until its dialog ends (EndDialog hides it); time passes meanwhile.
    windows_.SetModalDriver([this](fw::Hwnd dialog) {
      for (unsigned waited = 0; windows_.IsWindowVisible(dialog) && waited < kModalLimitMs;
           waited += kStepMs) {
        windows_.Advance(kStepMs);
      }
    });
  }

  fw::WindowSystem& Windows() override { return windows_; }
  void Click(fw::Hwnd button) override { windows_.Click(button); }
  void ClickTab(fw::Hwnd tabs, int index) override { windows_.SelectTab(tabs, index); }
  void RunFor(unsigned ms) override { windows_.Advance(ms); }
  void AnswerNextMessageBox(int answer, std::function<bool()> ready, unsigned limitMs) override {
    windows_.AnswerMessageBox([=, this](const fw::headless::MessageBoxRecord&) {
      for (unsigned waited = 0; !ready() && waited < limitMs; waited += kStepMs) {
        windows_.Advance(kStepMs);
      }
      return answer;
    });
  }
  void AnswerNextPopupMenu(int position) override {
    windows_.AnswerPopupMenu(position < 0 ? MenuPick::Dismiss()
                                          : MenuPick::Position(static_cast<unsigned>(position)));
  }
  std::size_t LiveWindowCount() override { return windows_.LiveWindowCount(); }

 private:
  static constexpr unsigned kModalLimitMs = 10'000;
  HeadlessWindowSystem windows_{framework_test::TestResources()};
};

}  // namespace

int main(int argc, char** argv) {
  framework_test::SetBackendFactory([] { return std::make_unique<HeadlessBackend>(); });
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
