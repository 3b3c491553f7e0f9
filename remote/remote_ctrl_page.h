// CRemoteCtrlPage: the Remote Controller page. Five check boxes say which media players take
// part; the power-key list offers the checked ones plus "Not Selected". The choice is stored
// as a player number (DefaultSelect) and resolved into the program's full path (OneKeyStart)
// for the remote-control monitor, which reads it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "framework/combo_box.h"
#include "framework/message_map.h"
#include "framework/property_page.h"
#include "platform/platform.h"
#include "platform/registry.h"
#include "settings/settings_key.h"

namespace korven {

struct Player;

class CRemoteCtrlPage : public fw::CPropertyPage {
 public:
  static constexpr const char* kChooserTitle = "Select program file for one key start";
  static constexpr const char* kChooserFilter =
      "Program for setting(*.exe;*.com;*.bat)|*.exe;*.com;*.bat|all files(*.*)|*.*||";

  CRemoteCtrlPage(fw::WindowSystem& windows, const platform::Platform& platform);
  ~CRemoteCtrlPage() override;

  // Rebuilds the list and the check boxes from the registry, rediscovers the installed
  // players and resolves the power key's program again.
  bool OnSetActive() override;

  // Finds which players are installed: enables their boxes, clears and disables the others
  // (withdrawing a choice that names one of them). Returns the discovery word: low 16 bits
  // the number of installed players, high 16 bits the sum of their numbers.
  platform::Dword DiscoverPlayers();
  // Finds the program of player `number`, asking the user when it cannot be found, and
  // stores it as OneKeyStart, then the power-key choice as DefaultSelect.
  void ResolveOneKeyStart(platform::Dword number);

  fw::CComboBox m_cbPowerKey;
  platform::Dword m_dwPowerKey = 0;  // the chosen player number, a copy of DefaultSelect
  korven::SettingsKey m_SettingsKey;

 protected:
  void DoDataExchange(fw::CDataExchange* dx) override;
  bool OnInitDialog() override;
  bool OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam, fw::LResult* result) override;

 private:
  void OnSelChangePowerKey();
  void OnPlayerClicked(int id);

  // Whether player `player` is installed, from its own registry entries.
  bool IsInstalled(const Player& player);
  bool IsWinampInstalled();
  // The user's choice in the program chooser; nothing when cancelled.
  std::optional<std::string> AskForProgram();

  int FindListItem(std::string_view text) const;
  void SelectNotSelected() const;
  std::string SelectedText() const;

  platform::Registry& m_registry;

  static const fw::map::Entry<CRemoteCtrlPage> kMessageMap[];
};

}  // namespace korven
