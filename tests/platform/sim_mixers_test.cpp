// What the page tests rely on in the simulated mixers beyond their own scenarios: handles are
// checked and never reused, a missing device is refused, and the shared fault plan counts
// mixer calls with the other simulations.
#include "platform/sim/sim_mixers.h"

#include <gtest/gtest.h>

#include "platform/sim/fault_plan.h"

namespace platform::sim {
namespace {

TEST(SimMixersTest, HandlesAreCheckedAndNeverReused) {
  SimMixers mixers;
  mixers.AddMixer(std::string(40, 'x'));
  MixerHandle handle = kNullMixer;
  EXPECT_EQ(mixers.Open(&handle, 1), mm::kBadDeviceId);
  EXPECT_EQ(handle, kNullMixer);
  ASSERT_EQ(mixers.Open(&handle, 0), mm::kNoError);
  MixerCaps caps;
  ASSERT_EQ(mixers.GetDevCaps(handle, &caps), mm::kNoError);
  EXPECT_EQ(std::string(caps.productName), std::string(31, 'x')) << "cut as the platform cuts";
  ASSERT_EQ(mixers.Close(handle), mm::kNoError);
  MixerHandle next = kNullMixer;
  ASSERT_EQ(mixers.Open(&next, 0), mm::kNoError);
  EXPECT_NE(next, handle);
  EXPECT_EQ(mixers.GetDevCaps(handle, &caps), mm::kInvalidHandle);
  EXPECT_EQ(mixers.SetControlValue(handle, SimMixers::kVolumeControlId, 1), mm::kInvalidHandle);
  EXPECT_EQ(mixers.InvalidHandleUses(), 2);
  EXPECT_TRUE(mixers.ValuesSet(0).empty());
  EXPECT_EQ(mixers.SetControlValue(next, SimMixers::kVolumeControlId, 70000), mm::kNoError);
  EXPECT_EQ(mixers.Volume(0), 65535u) << "the control keeps its bounds";
  EXPECT_EQ(mixers.Close(next), mm::kNoError);
  EXPECT_EQ(mixers.OpenHandleCount(), 0);
}

TEST(SimMixersTest, FaultPlanCountsMixerCallsWithTheOtherSimulations) {
  FaultPlan plan;
  SimMixers mixers(&plan);
  mixers.AddMixer("A", 1);
  plan.FailCall(2);
  MixerHandle handle = kNullMixer;
  ASSERT_EQ(mixers.Open(&handle, 0), mm::kNoError);
  MixerCaps caps;
  EXPECT_EQ(mixers.GetDevCaps(handle, &caps), mm::kError);
  EXPECT_EQ(mixers.Close(handle), mm::kNoError);
  EXPECT_EQ(plan.Calls(),
            (std::vector<std::string>{"mixerOpen", "mixerGetDevCapsA", "mixerClose"}));
  EXPECT_EQ(mixers.FormatLog(), "mixerOpen 0\nmixerGetDevCapsA 0 FAILED 1\nmixerClose 0\n");
}

}  // namespace
}  // namespace platform::sim
