// The default window system reads the program's own embedded resources.
#include <gtest/gtest.h>

#include "framework/headless/headless_window_system.h"
#include "res/resource.h"

namespace {

TEST(ProgramResources, TheDefaultWindowSystemReadsTheProgramsTemplates) {
  fw::headless::HeadlessWindowSystem windows;
  EXPECT_EQ(windows.GetTemplateCaption(IDD_VOLUME), "Volume");
  EXPECT_EQ(windows.LiveWindowCount(), 0u);
}

}  // namespace
