// The window system a framework test runs on, with the few things a user does that the tests
// need. The test program's entry point chooses the backend: the in-memory window tree (where
// time is a virtual clock) or real windows (where time passes).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "framework/window_system.h"

namespace framework_test {

class TestBackend {
 public:
  virtual ~TestBackend() = default;

  virtual fw::WindowSystem& Windows() = 0;

  // A user's click on a button: it changes state, then tells its parent.
  virtual void Click(fw::Hwnd button) = 0;
  // A user's click on tab `index` of a tab row: TCN_SELCHANGING (which may veto), then the
  // selection and TCN_SELCHANGE.
  virtual void ClickTab(fw::Hwnd tabs, int index) = 0;
  // Lets `ms` milliseconds pass in the message loop: posted messages, then timers as they
  // fall due. A modal dialog's loop runs until the dialog ends.
  virtual void RunFor(unsigned ms) = 0;
  // The next message box gets `answer` once `ready` holds, asked while the box's loop runs
  // (time passes meanwhile); after `limitMs` it gets the answer anyway.
  virtual void AnswerNextMessageBox(int answer, std::function<bool()> ready,
                                    unsigned limitMs = 5000) = 0;
  // The next pop-up menu: the item at `position` is chosen with the keyboard; -1 dismisses it.
  virtual void AnswerNextPopupMenu(int position) = 0;
  // Windows alive on this thread, children included: a test ends with as many as it began.
  virtual std::size_t LiveWindowCount() = 0;
};

using BackendFactory = std::function<std::unique_ptr<TestBackend>()>;
// Called once by the entry point, before the tests run.
void SetBackendFactory(BackendFactory factory);
std::unique_ptr<TestBackend> MakeBackend();

}  // namespace framework_test
