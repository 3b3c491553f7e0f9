#include "platform/sim/fault_plan.h"

namespace platform::sim {

bool FaultPlan::Fails(std::string_view call) {
  calls_.emplace_back(call);
  return failing_ != 0 && CallCount() == failing_;
}

}  // namespace platform::sim
