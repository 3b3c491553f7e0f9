// Message boxes in tests: what each box showed, and the answers a test scripted in advance.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "framework/messages.h"

namespace fw::headless {

struct MessageBoxRecord {
  Hwnd owner = nullptr;
  std::string text;
  std::string caption;
  unsigned type = 0;
  int answer = 0;         // what the box returned (0 while it is open)
  bool scripted = false;  // false: no answer was scripted and the default one was taken
};

// Answers a box; may act while the box is open (advance the clock, click, ...).
using MessageBoxAnswer = std::function<int(const MessageBoxRecord&)>;

class MessageBoxScript {
 public:
  void Push(int result);
  void Push(MessageBoxAnswer answer);
  // The next scripted answer, taken off the script; nullopt when none is left.
  std::optional<MessageBoxAnswer> Next();
  std::size_t Pending() const { return answers_.size(); }

  // What a user who only dismisses the box gets: OK for an OK box, else No or Cancel.
  static int DefaultAnswer(unsigned type);

 private:
  std::deque<MessageBoxAnswer> answers_;
};

}  // namespace fw::headless
