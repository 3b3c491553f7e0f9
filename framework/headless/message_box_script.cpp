#include "framework/headless/message_box_script.h"

namespace fw::headless {

namespace {
constexpr unsigned kTypeMask = 0x000F;  // MB_TYPEMASK
constexpr unsigned kAbortRetryIgnore = 0x0002;
constexpr unsigned kYesNoCancel = 0x0003;
constexpr int kIdAbort = 3;
}  // namespace

void MessageBoxScript::Push(int result) {
  answers_.push_back([result](const MessageBoxRecord&) { return result; });
}

void MessageBoxScript::Push(MessageBoxAnswer answer) {
  answers_.push_back(std::move(answer));
}

std::optional<MessageBoxAnswer> MessageBoxScript::Next() {
  if (answers_.empty()) return std::nullopt;
  MessageBoxAnswer answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

int MessageBoxScript::DefaultAnswer(unsigned type) {
  switch (type & kTypeMask) {
    case mb::kOk:
      return kIdOk;
    case mb::kYesNo:
      return kIdNo;
    case kAbortRetryIgnore:
      return kIdAbort;
    case kYesNoCancel:
    default:
      return kIdCancel;
  }
}

}  // namespace fw::headless
