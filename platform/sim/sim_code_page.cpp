#include "platform/sim/sim_code_page.h"

#include "platform/sim/fault_plan.h"

namespace platform::sim {

std::string SimCodePage::AnsiFromWide(std::u16string_view text) {
  ++conversions_;
  if (failing_) return {};
  if (faults_ != nullptr && faults_->Fails("WideCharToMultiByte")) return {};
  std::string ansi;
  ansi.reserve(text.size());
  for (char16_t c : text) ansi.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return ansi;
}

}  // namespace platform::sim
