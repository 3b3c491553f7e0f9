// The Remote Controller page: check boxes, the power-key list and the stored choice kept in
// line through activations, clicks and selections.
#include <gtest/gtest.h>

#include "tests/system/remote_ctrl_fixture.h"

namespace korven::testing {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kWinampProgram = "C:\\Program Files\\Winamp\\winamp.EXE";
constexpr const char* kWinDVDProgram = "C:\\Program Files\\InterVideo\\DVD4\\WINDVD.EXE";
constexpr const char* kPowerDVDProgram = "C:\\Program Files\\CyberLink\\PowerDVD\\PowerDVD.EXE";

using RemoteCtrlPageTest = RemoteCtrlTest;

TEST_F(RemoteCtrlPageTest, TemplateGivesBoxLabelsWithTheirBlanksAndNotSelectedFirst) {
  Open();
  EXPECT_EQ(windows_.GetTemplateCaption(IDD_REMOTE_CTRL), "Remote Controller");
  EXPECT_EQ(page_->GetDlgItemText(IDC_PLAYER_WINDVD), "WinDVD ");
  EXPECT_EQ(page_->GetDlgItemText(IDC_PLAYER_POWERDVD), "Power DVD");
  EXPECT_EQ(page_->GetDlgItemText(IDC_PLAYER_WINAMP), "Winamp ");
  EXPECT_EQ(page_->GetDlgItemText(IDC_PLAYER_WINRIP), "Winrip");
  EXPECT_EQ(page_->GetDlgItemText(IDC_PLAYER_MEDIAPLAYER), "Windows Media Player");
  for (int id : kPlayerBoxes) {
    EXPECT_EQ(windows_.GetStyle(windows_.Control(Page(), id)) & fw::bs::kTypeMask,
              fw::bs::kAutoCheckBox);
  }
  const std::uint32_t listStyle = windows_.GetStyle(List());
  EXPECT_EQ(listStyle & 0x3u, 0x3u) << "CBS_DROPDOWNLIST";
  EXPECT_EQ(listStyle & fw::cb::kSort, 0u);
  EXPECT_EQ(windows_.GetClassName(List()), "ComboBox");
}

TEST_F(RemoteCtrlPageTest, DialogCreationPutsNotSelectedIntoTheList) {
  // Created but never activated: only the template's initialisation data has run.
  host_ = std::make_unique<fw::CDialog>(windows_, IDD_CONTROL_PANEL);
  ASSERT_TRUE(host_->Create());
  page_ = std::make_unique<CRemoteCtrlPage>(windows_, platform_);
  ASSERT_TRUE(page_->Create(host_.get()));
  EXPECT_EQ(Items(), Strings{"Not Selected"});
  EXPECT_EQ(registry_.KeyClass(HKey::LocalMachine, kSettingsKey), "Quenta");
  page_.reset();
  host_.reset();
}

TEST_F(RemoteCtrlPageTest, NoPlayerInstalled_OnlyNotSelectedAndEveryBoxClearedAndDisabled) {
  // Left over from players that are gone: each is rewritten 0.
  for (const char* name :
       {"WinDVDEnable", "PowerDVDEnable", "WinampEnable", "WinripEnable", "MediaPlayerEnable"}) {
    Store(name, 1);
  }
  Open();
  EXPECT_EQ(Items(), Strings{"Not Selected"});
  EXPECT_EQ(Selected(), "Not Selected");
  for (int id : kPlayerBoxes) {
    EXPECT_FALSE(Checked(id)) << id;
    EXPECT_FALSE(Enabled(id)) << id;
  }
  for (const char* name : {"WinDVDEnable", "PowerDVDEnable", "WinampEnable", "WinripEnable",
                           "MediaPlayerEnable", "DefaultSelect", "ExistMPlayer"}) {
    EXPECT_EQ(Stored(name), 0u) << name;
  }
  EXPECT_EQ(OneKeyStart(), "");
  EXPECT_TRUE(windows_.FileDialogs().empty());
}

TEST_F(RemoteCtrlPageTest, OnlyWinampInstalled_BecomesTheChoiceAtEveryActivationWithoutOne) {
  InstallWinamp();
  Open();
  EXPECT_EQ(Items(), (Strings{"Winamp", "Not Selected"}));
  EXPECT_EQ(Selected(), "Winamp");
  EXPECT_TRUE(Checked(IDC_PLAYER_WINAMP));
  EXPECT_TRUE(Enabled(IDC_PLAYER_WINAMP));
  EXPECT_EQ(Stored("WinampEnable"), 1u);
  EXPECT_EQ(Stored("DefaultSelect"), 3u);
  EXPECT_EQ(OneKeyStart(), kWinampProgram);

  Pick("Not Selected");
  EXPECT_EQ(Stored("DefaultSelect"), 0u);
  EXPECT_EQ(OneKeyStart(), "");
  EXPECT_TRUE(Checked(IDC_PLAYER_WINAMP));

  // Already enabled this time: its text still stands once.
  Reactivate();
  EXPECT_EQ(Items(), (Strings{"Winamp", "Not Selected"}));
  EXPECT_EQ(Selected(), "Winamp");
  EXPECT_EQ(Stored("DefaultSelect"), 3u);
  EXPECT_EQ(OneKeyStart(), kWinampProgram);
  EXPECT_TRUE(windows_.FileDialogs().empty());
}

TEST_F(RemoteCtrlPageTest, TwoInstalledAndEnabledWithoutChoice_ListInOrderAndNotSelected) {
  InstallWinDVD();
  InstallPowerDVD();
  InstallWinrip();
  Store("WinDVDEnable", 1);
  Store("PowerDVDEnable", 1);
  Store("WinripEnable", 7);  // any non-zero value counts
  Open();
  EXPECT_EQ(Items(), (Strings{"WinDVD", "Power DVD", "Winrip", "Not Selected"}));
  EXPECT_EQ(Selected(), "Not Selected");
  EXPECT_TRUE(Checked(IDC_PLAYER_WINDVD));
  EXPECT_TRUE(Checked(IDC_PLAYER_POWERDVD));
  EXPECT_TRUE(Checked(IDC_PLAYER_WINRIP));
  EXPECT_FALSE(Checked(IDC_PLAYER_WINAMP));
  EXPECT_FALSE(Enabled(IDC_PLAYER_WINAMP));
  EXPECT_EQ(Stored("DefaultSelect"), 0u);
  EXPECT_EQ(OneKeyStart(), "");
}

class RemoteCtrlTwoPlayersTest : public RemoteCtrlTest {
 protected:
  void SetUp() override {
    InstallWinDVD();
    InstallPowerDVD();
    Store("WinDVDEnable", 1);
    Store("PowerDVDEnable", 1);
    Open();
  }
};

TEST_F(RemoteCtrlTwoPlayersTest, SelectingThenClearingThePlayerWithdrawsTheChoice) {
  Pick("Power DVD");
  EXPECT_EQ(Stored("DefaultSelect"), 2u);
  EXPECT_EQ(OneKeyStart(), kPowerDVDProgram);

  registry_.ClearWrites();
  Click(IDC_PLAYER_POWERDVD);
  EXPECT_EQ(Items(), (Strings{"WinDVD", "Not Selected"}));
  EXPECT_EQ(Selected(), "Not Selected");
  EXPECT_EQ(Stored("DefaultSelect"), 0u);
  EXPECT_EQ(OneKeyStart(), "");
  EXPECT_EQ(Stored("PowerDVDEnable"), 0u);
  EXPECT_EQ(WrittenNames(), (Strings{"OneKeyStart", "DefaultSelect", "PowerDVDEnable"}));
}

TEST_F(RemoteCtrlTwoPlayersTest, ClearingAnotherPlayerOnlyRemovesItAndStoresItsZero) {
  Pick("WinDVD");
  registry_.ClearWrites();
  Click(IDC_PLAYER_POWERDVD);
  EXPECT_EQ(Items(), (Strings{"WinDVD", "Not Selected"}));
  EXPECT_EQ(Selected(), "WinDVD");
  EXPECT_EQ(Stored("DefaultSelect"), 1u);
  EXPECT_EQ(OneKeyStart(), kWinDVDProgram);
  EXPECT_EQ(WrittenNames(), Strings{"PowerDVDEnable"});
  EXPECT_EQ(Stored("PowerDVDEnable"), 0u);
}

TEST_F(RemoteCtrlTwoPlayersTest, CheckingABoxPutsThePlayerOnTopAndKeepsTheChoice) {
  Click(IDC_PLAYER_WINDVD);
  Pick("Power DVD");
  registry_.ClearWrites();
  Click(IDC_PLAYER_WINDVD);
  EXPECT_TRUE(Checked(IDC_PLAYER_WINDVD));
  EXPECT_EQ(Items(), (Strings{"WinDVD", "Power DVD", "Not Selected"}));
  EXPECT_EQ(Selected(), "Power DVD");
  EXPECT_EQ(WrittenNames(), Strings{"WinDVDEnable"});
  EXPECT_EQ(Stored("WinDVDEnable"), 1u);
  EXPECT_EQ(Stored("DefaultSelect"), 2u);
}

TEST_F(RemoteCtrlPageTest, ChosenPlayerUninstalledSince_BoxDisabledAndNotSelectedStored) {
  InstallWinDVD();
  InstallWinrip();
  Store("PowerDVDEnable", 1);
  Store("DefaultSelect", 2);
  Open();
  EXPECT_FALSE(Checked(IDC_PLAYER_POWERDVD));
  EXPECT_FALSE(Enabled(IDC_PLAYER_POWERDVD));
  EXPECT_EQ(Stored("PowerDVDEnable"), 0u);
  EXPECT_EQ(Stored("DefaultSelect"), 0u);
  EXPECT_EQ(OneKeyStart(), "");
  EXPECT_EQ(Items(), Strings{"Not Selected"});
  EXPECT_EQ(Selected(), "Not Selected");
}

TEST_F(RemoteCtrlPageTest, ChooserCancelledAtActivation_ShowsNotSelectedInLineWithStoredZero) {
  InstallWinamp("Winamp", "");  // DisplayName without UninstallString
  Store("WinampEnable", 1);
  Store("DefaultSelect", 3);
  Open();
  ASSERT_EQ(windows_.FileDialogs().size(), 1u);
  const fw::OpenFileRequest& chooser = windows_.FileDialogs()[0];
  EXPECT_EQ(chooser.title, "Select program file for one key start");
  EXPECT_EQ(chooser.filters, (std::vector<fw::FileFilter>{
                                 {"Program for setting(*.exe;*.com;*.bat)", "*.exe;*.com;*.bat"},
                                 {"all files(*.*)", "*.*"}}));
  EXPECT_EQ(chooser.filterIndex, 1);
  EXPECT_EQ(chooser.flags, fw::ofn::kHideReadOnly | fw::ofn::kOverwritePrompt);
  EXPECT_EQ(chooser.owner, host_->GetSafeHwnd());
  EXPECT_EQ(chooser.defaultExtension, "");
  EXPECT_EQ(chooser.fileName, "");
  EXPECT_EQ(chooser.initialDirectory, "");

  EXPECT_EQ(Selected(), "Not Selected");
  EXPECT_EQ(Stored("DefaultSelect"), 0u);
  EXPECT_EQ(OneKeyStart(), "");
  EXPECT_TRUE(Checked(IDC_PLAYER_WINAMP));
}

TEST_F(RemoteCtrlPageTest, WinampWithoutUninstallCommand_ChooserAtEveryResolution) {
  InstallWinamp("Winamp", "");
  InstallWinDVD();
  Store("WinampEnable", 1);
  Store("DefaultSelect", 3);
  windows_.AnswerFileDialog("D:\\Audio\\Winamp\\winamp.exe");
  Open();
  EXPECT_EQ(OneKeyStart(), "D:\\Audio\\Winamp\\winamp.exe");
  EXPECT_EQ(Stored("DefaultSelect"), 3u);
  EXPECT_EQ(Selected(), "Winamp");

  // The chosen path is not remembered: the registry is asked again first.
  windows_.AnswerFileDialog("D:\\Other\\winamp.exe");
  Reactivate();
  EXPECT_EQ(windows_.FileDialogs().size(), 2u);
  EXPECT_EQ(OneKeyStart(), "D:\\Other\\winamp.exe");

  windows_.AnswerFileDialog(std::nullopt);
  Pick("Winamp");
  EXPECT_EQ(windows_.FileDialogs().size(), 3u);
  EXPECT_EQ(Selected(), "Not Selected");
  EXPECT_EQ(Stored("DefaultSelect"), 0u);
  EXPECT_EQ(OneKeyStart(), "");
}

TEST_F(RemoteCtrlTwoPlayersTest, SelectingAPlayerWhoseEntryCannotBeReadAsksTheUser) {
  registry_.DenyKey(HKey::LocalMachine, kPowerDVDKey);
  windows_.AnswerFileDialog("E:\\DVD\\pdvd.exe");
  Pick("Power DVD");
  EXPECT_EQ(windows_.FileDialogs().size(), 1u);
  EXPECT_EQ(OneKeyStart(), "E:\\DVD\\pdvd.exe");
  EXPECT_EQ(Stored("DefaultSelect"), 2u);
  EXPECT_EQ(Selected(), "Power DVD");
}

TEST_F(RemoteCtrlPageTest, StoredChoiceOutsideTheTable_ShowsNotSelectedAndKeepsTheNumber) {
  InstallWinDVD();
  InstallPowerDVD();
  Store("DefaultSelect", 9);
  Open();
  EXPECT_EQ(Selected(), "Not Selected");
  EXPECT_EQ(OneKeyStart(), "");
  EXPECT_EQ(Stored("DefaultSelect"), 9u);
  EXPECT_TRUE(windows_.FileDialogs().empty());
}

TEST_F(RemoteCtrlPageTest, OverlongPathsCountAsNotFound) {
  InstallWinDVD("C:\\" + std::string(250, 'd'));  // with "\WINDVD.EXE" 264 characters
  InstallPowerDVD();
  Store("WinDVDEnable", 1);
  Store("DefaultSelect", 1);
  // The chooser's answer does not fit either: as a cancel.
  windows_.AnswerFileDialog("C:\\" + std::string(257, 'p'));
  Open();
  EXPECT_EQ(windows_.FileDialogs().size(), 1u);
  EXPECT_EQ(OneKeyStart(), "");
  EXPECT_EQ(Stored("DefaultSelect"), 0u);
  EXPECT_EQ(Selected(), "Not Selected");

  // 259 characters still fit.
  const std::string longest = "C:\\" + std::string(256, 'p');
  windows_.AnswerFileDialog(longest);
  Pick("WinDVD");
  EXPECT_EQ(OneKeyStart(), longest);
  EXPECT_EQ(Stored("DefaultSelect"), 1u);
}

TEST_F(RemoteCtrlPageTest, SettingsKeyThatCannotBeOpened_PageWorksFromDefaults) {
  registry_.DenyKey(HKey::LocalMachine, kSettingsKey);
  InstallWinDVD();
  InstallPowerDVD();
  Open();
  EXPECT_EQ(Items(), Strings{"Not Selected"});
  Click(IDC_PLAYER_WINDVD);
  Pick("WinDVD");
  EXPECT_EQ(Selected(), "WinDVD");
  EXPECT_TRUE(registry_.Writes().empty());
}

}  // namespace
}  // namespace korven::testing
