// The open-file chooser in the headless window system: recorded, and answered from the script.
#include "framework/headless/headless_window_system.h"

namespace fw::headless {

std::optional<std::string> HeadlessWindowSystem::RunOpenFileDialog(const OpenFileRequest& request) {
  fileDialogs_.push_back(request);
  if (fileAnswers_.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(fileAnswers_.front());
  fileAnswers_.pop_front();
  return answer;
}

}  // namespace fw::headless
