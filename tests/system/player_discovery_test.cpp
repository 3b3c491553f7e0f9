// Media player discovery and one-key start: what the players' own registry entries make of
// the discovery word, IsWinamp3 and the program path.
#include <gtest/gtest.h>

#include "remote/players.h"
#include "remote/program_path.h"
#include "tests/system/remote_ctrl_fixture.h"

namespace korven::testing {
namespace {

using PlayerDiscoveryTest = RemoteCtrlTest;

constexpr platform::Dword kNoWinamp = 0xFFFFFFFF;

struct WinampCase {
  const char* name;
  std::vector<std::string_view> generations;  // uninstall subkeys present
  bool installed;
  std::optional<platform::Dword> isWinamp3;
  const char* program;  // with Winamp as the choice
};

class WinampDiscoveryTest : public RemoteCtrlTest,
                            public ::testing::WithParamInterface<WinampCase> {};

TEST_P(WinampDiscoveryTest, GenerationDecidesInstallationAndProgram) {
  const WinampCase& c = GetParam();
  registry_.AddKey(HKey::LocalMachine, std::string(kUninstallKey) + "\\Other Program");
  for (std::string_view generation : c.generations) {
    InstallWinamp(generation, "\"C:\\Program Files\\" + std::string(generation) + "\\Uninst.exe\"");
  }
  Store("DefaultSelect", 3);
  Open();
  EXPECT_EQ(Enabled(IDC_PLAYER_WINAMP), c.installed);
  EXPECT_EQ(Stored("IsWinamp3"), c.isWinamp3);
  EXPECT_EQ(Stored("ExistMPlayer"), c.installed ? 0x00030001u : 0u);
  EXPECT_EQ(OneKeyStart(), c.program);
  EXPECT_TRUE(windows_.FileDialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Generations, WinampDiscoveryTest,
    ::testing::Values(
        WinampCase{"OnlyWinamp", {"Winamp"}, true, 0u, "C:\\Program Files\\Winamp\\winamp.EXE"},
        WinampCase{
            "Both", {"Winamp", "Winamp3"}, true, 1u, "C:\\Program Files\\Winamp3\\Studio.EXE"},
        WinampCase{"Neither", {}, false, kNoWinamp, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerDiscoveryTest, NoUninstallKeyLeavesIsWinamp3Unwritten) {
  Open();
  EXPECT_FALSE(Enabled(IDC_PLAYER_WINAMP));
  EXPECT_EQ(registry_.GetValue(HKey::LocalMachine, kSettingsKey, "IsWinamp3"), std::nullopt);
}

TEST_F(PlayerDiscoveryTest, Winamp3WithoutDisplayNameIsNotInstalledEvenWithTheEarlierOne) {
  registry_.AddKey(HKey::LocalMachine, std::string(kUninstallKey) + "\\Winamp3");
  InstallWinamp("Winamp");
  Open();
  EXPECT_FALSE(Enabled(IDC_PLAYER_WINAMP));
  EXPECT_EQ(Stored("IsWinamp3"), 1u);
}

struct MediaPlayerCase {
  const char* name;
  std::vector<std::string_view> versions;
  bool installed;
};

class MediaPlayerDiscoveryTest : public RemoteCtrlTest,
                                 public ::testing::WithParamInterface<MediaPlayerCase> {};

TEST_P(MediaPlayerDiscoveryTest, NeedsAVersion7Or8Subkey) {
  InstallMediaPlayer(GetParam().versions);
  Open();
  EXPECT_EQ(Enabled(IDC_PLAYER_MEDIAPLAYER), GetParam().installed);
  EXPECT_EQ(Stored("ExistMPlayer"), GetParam().installed ? 0x00050001u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Versions, MediaPlayerDiscoveryTest,
                         ::testing::Values(MediaPlayerCase{"SixAndEight", {"6.4", "8.0"}, true},
                                           MediaPlayerCase{"SevenOne", {"7.1"}, true},
                                           MediaPlayerCase{"OnlySix", {"6.4"}, false},
                                           MediaPlayerCase{"NoSubkey", {}, false},
                                           MediaPlayerCase{"SevenWithoutPoint", {"70"}, false},
                                           MediaPlayerCase{"NineAndTen", {"9.0", "10.0"}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerDiscoveryTest, ThreePlayersGiveCountAndSumOfNumbers) {
  InstallWinDVD();
  InstallWinamp();
  InstallMediaPlayer();
  Open();
  EXPECT_EQ(page_->DiscoverPlayers(), 0x00090003u);
  EXPECT_EQ(Stored("ExistMPlayer"), 0x00090003u);
  for (int id : {IDC_PLAYER_WINDVD, IDC_PLAYER_WINAMP, IDC_PLAYER_MEDIAPLAYER}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  for (int id : {IDC_PLAYER_POWERDVD, IDC_PLAYER_WINRIP}) EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(PlayerDiscoveryTest, ValueLongerThanTheBufferMeansNotInstalled) {
  InstallWinDVD(std::string(260, 'x'));  // 261 bytes with the zero
  InstallPowerDVD(std::string(259, 'y'));
  Open();
  EXPECT_FALSE(Enabled(IDC_PLAYER_WINDVD));
  EXPECT_TRUE(Enabled(IDC_PLAYER_POWERDVD));
}

struct ProgramCase {
  const char* name;
  platform::Dword player;
  const char* program;
};

class ProgramPathTest : public RemoteCtrlTest, public ::testing::WithParamInterface<ProgramCase> {};

TEST_P(ProgramPathTest, ChosenPlayerResolvesToItsProgram) {
  InstallWinDVD();
  InstallPowerDVD("D:\\CyberLink\\PowerDVD\\");
  InstallWinamp("Winamp", "C:\\Program Files\\Winamp\\UninstWA.exe");
  InstallWinrip();
  InstallMediaPlayer();
  Store("DefaultSelect", GetParam().player);
  Store(FindPlayer(GetParam().player)->enable.name, 1);
  Open();
  EXPECT_EQ(OneKeyStart(), GetParam().program);
  EXPECT_EQ(Stored("DefaultSelect"), GetParam().player);
  EXPECT_EQ(Selected(), std::string(ListText(GetParam().player)));
  EXPECT_TRUE(windows_.FileDialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Players, ProgramPathTest,
    ::testing::Values(
        ProgramCase{"WinDVD", 1, "C:\\Program Files\\InterVideo\\DVD4\\WINDVD.EXE"},
        ProgramCase{"PowerDVDKeepsTwoBackslashes", 2, "D:\\CyberLink\\PowerDVD\\\\PowerDVD.EXE"},
        ProgramCase{"WinampUnquoted", 3, "C:\\Program Files\\Winamp\\winamp.EXE"},
        ProgramCase{"Winrip", 4, "C:\\Program Files\\WinRip\\WINRip.EXE"},
        ProgramCase{"MediaPlayer", 5, "C:\\Program Files\\Windows Media Player\\wmplayer.EXE"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerDiscoveryTest, ValueWithoutTerminatingZeroIsReadOnlyAsFarAsItGoes) {
  const std::string directory = "C:\\DVD";
  registry_.SetValue(HKey::LocalMachine, kWinDVDKey, "PATH", platform::reg::kTypeSz,
                     std::vector<std::uint8_t>(directory.begin(), directory.end()));
  // Filling the whole buffer without a zero: read, but the path would not fit.
  const std::string full(260, 'z');
  registry_.SetValue(HKey::LocalMachine, kPowerDVDKey, "InstallDir", platform::reg::kTypeBinary,
                     std::vector<std::uint8_t>(full.begin(), full.end()));
  Store("DefaultSelect", 1);
  Open();
  EXPECT_TRUE(Enabled(IDC_PLAYER_POWERDVD));
  EXPECT_EQ(OneKeyStart(), "C:\\DVD\\WINDVD.EXE");

  windows_.AnswerFileDialog(std::nullopt);
  Pick("Not Selected");
  Click(IDC_PLAYER_POWERDVD);
  Pick("Power DVD");
  EXPECT_EQ(windows_.FileDialogs().size(), 1u);
  EXPECT_EQ(OneKeyStart(), "");
}

TEST_F(PlayerDiscoveryTest, ResolvingNoPlayerWritesEmptyPathThenZeroAndOpensNothing) {
  InstallWinDVD();
  InstallPowerDVD();
  Store("DefaultSelect", 1);
  Open();
  const int opened = registry_.OpenCount();
  registry_.ClearWrites();
  page_->m_dwPowerKey = 0;
  page_->ResolveOneKeyStart(0);
  EXPECT_EQ(registry_.OpenCount(), opened);
  EXPECT_EQ(WrittenNames(), (std::vector<std::string>{"OneKeyStart", "DefaultSelect"}));
  EXPECT_EQ(registry_.Writes()[0].data, std::vector<std::uint8_t>{0});
  EXPECT_EQ(Stored("DefaultSelect"), 0u);
  EXPECT_TRUE(windows_.FileDialogs().empty());
}

TEST(ProgramPath, UninstallCommandWithAndWithoutQuotesGivesTheSamePath) {
  struct Case {
    std::string command;
    std::optional<std::string> path;
  };
  const Case cases[] = {
      {"\"C:\\Program Files\\Winamp\\UninstWA.exe\"", "C:\\Program Files\\Winamp\\winamp.EXE"},
      {"C:\\Program Files\\Winamp\\UninstWA.exe", "C:\\Program Files\\Winamp\\winamp.EXE"},
      {"UninstWA.exe", "\\winamp.EXE"},  // no backslash: nothing remains of the command
      {"", "\\winamp.EXE"},
      {"\"C:\\" + std::string(250, 'w') + "\\u.exe\"", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgramPathFromUninstallCommand(c.command, "\\winamp.EXE"), c.path) << c.command;
  }
  EXPECT_EQ(ProgramPathInDirectory(std::string(248, 'd'), "\\WINDVD.EXE")->size(), 259u);
  EXPECT_EQ(ProgramPathInDirectory(std::string(249, 'd'), "\\WINDVD.EXE"), std::nullopt);
}

TEST(PlayerTable, SelectedTextGivesThePlayerInTheMatchingOrder) {
  const std::pair<std::string_view, platform::Dword> cases[] = {
      {"Not Selected", 0},         {"WinDVD", 1}, {"Power DVD", 2}, {"Winamp", 3}, {"Winrip", 4},
      {"Windows Media Player", 5}, {"", 0},       {"winamp", 0},  // the texts compare with their
                                                                  // case
  };
  for (const auto& [text, number] : cases) EXPECT_EQ(PlayerFromListText(text), number) << text;
  EXPECT_EQ(ListText(6), "");
}

}  // namespace
}  // namespace korven::testing
