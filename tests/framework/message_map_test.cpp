// Message maps route commands, command ranges and families, notifications, timers and raw
// messages to the handlers their table names, through the headless window system.
#include "framework/message_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/headless/headless_window_system.h"
#include "framework_test_ids.h"
#include "framework_test_support.h"

namespace {

using framework_test::TestResources;
using fw::headless::HeadlessWindowSystem;

constexpr unsigned kMsgPing = fw::wm::kUser + 5;
constexpr unsigned kCodeCustom = 0x1234;

class MappedDialog : public fw::CDialog {
 public:
  explicit MappedDialog(fw::WindowSystem& windows) : CDialog(windows, IDD_FORM) {}

  std::vector<std::string> calls;

  void OnApply() { calls.push_back("apply"); }
  void OnPreset(int id) { calls.push_back("preset " + std::to_string(id - IDC_PRESET_1)); }
  void OnFamily(int id) { calls.push_back("family " + std::to_string(id)); }
  void OnCheckNotify() { calls.push_back("check notify"); }
  void OnTimer(std::uintptr_t id) { calls.push_back("timer " + std::to_string(id)); }
  void OnClosing() { calls.push_back("closing"); }
  fw::LResult OnPing(fw::WParam wParam, fw::LParam lParam) {
    calls.push_back("ping " + std::to_string(wParam) + "," + std::to_string(lParam));
    return 99;
  }

 protected:
  bool OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam, fw::LResult* result) override;
};

// Two families whose ids are not a range: one from a table's rows, one a plain list.
struct FamilyRow {
  const char* name;
  int button;
};
constexpr FamilyRow kRadioFamily[] = {{"A", IDC_RADIO_A}, {"C", IDC_RADIO_C}};
constexpr int kListedFamily[] = {IDC_RADIO_Y, IDC_HIDDEN};

const fw::map::Entry<MappedDialog> kMessageMap[] = {
    fw::map::Command(IDC_APPLY, &MappedDialog::OnApply),
    fw::map::CommandRange(IDC_PRESET_1, IDC_PRESET_3, &MappedDialog::OnPreset),
    fw::map::CommandFamily<kRadioFamily, &FamilyRow::button>(&MappedDialog::OnFamily),
    fw::map::NotifyFamily<kListedFamily>(kCodeCustom, &MappedDialog::OnFamily),
    fw::map::Notify(kCodeCustom, IDC_CHECK, &MappedDialog::OnCheckNotify),
    fw::map::Timer(&MappedDialog::OnTimer),
    fw::map::Message(kMsgPing, &MappedDialog::OnPing),
    fw::map::MessageThenDefault(fw::wm::kClose, &MappedDialog::OnClosing),
};

bool MappedDialog::OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam,
                            fw::LResult* result) {
  return fw::map::Dispatch(this, kMessageMap, msg, wParam, lParam, result) ||
         CDialog::OnWndMsg(msg, wParam, lParam, result);
}

class MessageMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog_.Create());
    dialog_.ShowWindow(fw::sw::kShow);
  }
  fw::Hwnd Hwnd() const { return dialog_.GetSafeHwnd(); }

  HeadlessWindowSystem windows_{TestResources()};
  MappedDialog dialog_{windows_};
};

TEST_F(MessageMapTest, ClicksReachTheirCommandHandlers) {
  windows_.Click(Hwnd(), IDC_APPLY);
  windows_.Click(Hwnd(), IDC_PRESET_3);
  windows_.Click(Hwnd(), IDC_PRESET_1);
  windows_.Click(Hwnd(), IDC_CHECK);  // no row takes it
  EXPECT_EQ(dialog_.calls, (std::vector<std::string>{"apply", "preset 2", "preset 0"}));
}

TEST_F(MessageMapTest, FamiliesTakeTheirListedIdsOnly) {
  for (int id : {IDC_RADIO_A, IDC_RADIO_B, IDC_RADIO_C}) windows_.Click(Hwnd(), id);
  fw::NmHdr header{nullptr, 0, kCodeCustom};
  for (int id : {IDC_RADIO_X, IDC_HIDDEN, IDC_RADIO_A}) {
    header.idFrom = static_cast<std::uintptr_t>(id);
    dialog_.SendMessage(fw::wm::kNotify, static_cast<fw::WParam>(id),
                        reinterpret_cast<fw::LParam>(&header));
  }
  EXPECT_EQ(dialog_.calls, (std::vector<std::string>{"family " + std::to_string(IDC_RADIO_A),
                                                     "family " + std::to_string(IDC_RADIO_C),
                                                     "family " + std::to_string(IDC_HIDDEN)}));
}

TEST_F(MessageMapTest, ACommandWithAnotherCodeIsNotAClick) {
  dialog_.SendMessage(fw::wm::kCommand, fw::MakeWParam(IDC_APPLY, 0x0300), 0);
  EXPECT_TRUE(dialog_.calls.empty());
}

TEST_F(MessageMapTest, NotificationsMatchCodeAndId) {
  fw::NmHdr header{dialog_.GetDlgItem(IDC_CHECK), IDC_CHECK, kCodeCustom};
  dialog_.SendMessage(fw::wm::kNotify, IDC_CHECK, reinterpret_cast<fw::LParam>(&header));
  header.idFrom = IDC_APPLY;
  dialog_.SendMessage(fw::wm::kNotify, IDC_APPLY, reinterpret_cast<fw::LParam>(&header));
  header.idFrom = IDC_CHECK;
  header.code = kCodeCustom + 1;
  dialog_.SendMessage(fw::wm::kNotify, IDC_CHECK, reinterpret_cast<fw::LParam>(&header));
  EXPECT_EQ(dialog_.calls, (std::vector<std::string>{"check notify"}));
}

TEST_F(MessageMapTest, TimersAndRawMessagesReachTheirHandlers) {
  dialog_.SetTimer(3, 100);
  dialog_.SetTimer(4, 150);
  windows_.Advance(300);
  EXPECT_EQ(dialog_.PostMessage(kMsgPing, 1, 2), true);
  EXPECT_EQ(dialog_.SendMessage(kMsgPing, 5, 6), 99);
  windows_.PumpMessages();
  EXPECT_EQ(dialog_.calls, (std::vector<std::string>{"timer 3", "timer 4", "timer 3", "timer 3",
                                                     "timer 4", "ping 5,6", "ping 1,2"}));
}

}  // namespace

namespace {

TEST_F(MessageMapTest, AnObservedMessageStillGetsItsDefaultProcessing) {
  windows_.Close(Hwnd());
  EXPECT_EQ(dialog_.calls, std::vector<std::string>{"closing"});
  EXPECT_FALSE(dialog_.IsWindowVisible()) << "the close box still cancels the dialog";
}

}  // namespace
