// A plan of one platform failure shared by the simulations of one world: every call they
// make is numbered in order, and the call with the chosen number fails. A sweep runs a
// scenario once to count its calls, then once per call number with that call failing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::sim {

class FaultPlan {
 public:
  // Makes call `number` (counted from 1) fail; 0 fails none.
  void FailCall(int number) { failing_ = number; }
  int FailingCall() const { return failing_; }

  // Counts one call named `call`; true when it is the call to fail.
  bool Fails(std::string_view call);

  int CallCount() const { return static_cast<int>(calls_.size()); }
  // Names of the calls counted so far, in order ("RegSetValueExA", "DeviceIoControl", ...).
  const std::vector<std::string>& Calls() const { return calls_; }
  // Forgets the counted calls; the failing call number stays.
  void Reset() { calls_.clear(); }

 private:
  int failing_ = 0;
  std::vector<std::string> calls_;
};

}  // namespace platform::sim
