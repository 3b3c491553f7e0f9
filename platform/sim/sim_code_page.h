// A code page for the simulated machine: the ASCII range passes unchanged, every other
// character becomes '?', as a narrow code page without it would show it.
#pragma once

#include "platform/code_page.h"

namespace platform::sim {

class FaultPlan;

class SimCodePage : public CodePage {
 public:
  explicit SimCodePage(FaultPlan* faults = nullptr) : faults_(faults) {}

  std::string AnsiFromWide(std::u16string_view text) override;

  // While set, every conversion fails (yields nothing).
  void FailConversions(bool fail) { failing_ = fail; }
  int Conversions() const { return conversions_; }

 private:
  FaultPlan* faults_;
  bool failing_ = false;
  int conversions_ = 0;
};

}  // namespace platform::sim
