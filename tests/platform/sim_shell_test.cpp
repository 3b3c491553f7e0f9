// The simulated notification area checks records as the shell does and counts what is shown.
#include "platform/sim/sim_shell.h"

#include <gtest/gtest.h>

#include "platform/sim/fault_plan.h"

namespace {

using platform::NotifyIconData;
using platform::WindowRef;
using platform::sim::SimShell;

NotifyIconData Record(unsigned id, std::uintptr_t owner = 0x1234) {
  NotifyIconData data;
  data.cbSize = NotifyIconData::kFirstFormSize;
  data.hWnd = static_cast<WindowRef>(owner);
  data.uID = id;
  return data;
}

TEST(SimShellTest, AddsAndDeletesByOwnerAndIdentifier) {
  SimShell shell;
  EXPECT_TRUE(shell.NotifyIcon(platform::nim::kAdd, Record(139)));
  EXPECT_FALSE(shell.NotifyIcon(platform::nim::kAdd, Record(139))) << "already shown";
  EXPECT_TRUE(shell.NotifyIcon(platform::nim::kAdd, Record(139, 0x5678)));
  EXPECT_EQ(shell.IconCount(), 2u);
  EXPECT_NE(shell.FindIcon(static_cast<WindowRef>(0x5678), 139), nullptr);

  EXPECT_TRUE(shell.NotifyIcon(platform::nim::kDelete, Record(139)));
  EXPECT_FALSE(shell.NotifyIcon(platform::nim::kDelete, Record(139)));
  EXPECT_EQ(shell.IconCount(), 1u);
  EXPECT_EQ(shell.Log(), (std::vector<std::string>{"add 139", "add 139 refused", "add 139",
                                                   "delete 139", "delete 139 refused"}));
}

TEST(SimShellTest, RefusesBadRecordsAndInjectedFailures) {
  platform::sim::FaultPlan faults;
  SimShell shell(&faults);
  NotifyIconData wrongSize = Record(146);
  wrongSize.cbSize = 504;
  EXPECT_FALSE(shell.NotifyIcon(platform::nim::kAdd, wrongSize));
  EXPECT_FALSE(shell.NotifyIcon(platform::nim::kAdd, Record(146, 0))) << "no owner";

  faults.FailCall(4);  // the delete below
  EXPECT_TRUE(shell.NotifyIcon(platform::nim::kAdd, Record(146)));
  EXPECT_FALSE(shell.NotifyIcon(platform::nim::kDelete, Record(146)));
  EXPECT_EQ(shell.IconCount(), 1u);

  shell.RefuseAdds(true);
  EXPECT_FALSE(shell.NotifyIcon(platform::nim::kAdd, Record(222)));
}

}  // namespace
