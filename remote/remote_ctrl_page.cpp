#include "remote/remote_ctrl_page.h"

#include "framework/data_exchange.h"
#include "remote/players.h"
#include "res/resource.h"

namespace korven {

const fw::map::Entry<CRemoteCtrlPage> CRemoteCtrlPage::kMessageMap[] = {
    fw::map::Command(IDC_POWER_KEY_LIST, &CRemoteCtrlPage::OnSelChangePowerKey,
                     fw::cb::kNotifySelChange),
    fw::map::CommandFamily<kPlayers, &Player::checkBoxId>(&CRemoteCtrlPage::OnPlayerClicked),
};

CRemoteCtrlPage::CRemoteCtrlPage(fw::WindowSystem& windows, const platform::Platform& platform)
    : CPropertyPage(windows, IDD_REMOTE_CTRL),
      m_cbPowerKey(windows),
      m_SettingsKey(*platform.registry),
      m_registry(*platform.registry) {}

CRemoteCtrlPage::~CRemoteCtrlPage() {
  m_SettingsKey.Close();
}

bool CRemoteCtrlPage::OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam,
                               fw::LResult* result) {
  return fw::map::Dispatch(this, kMessageMap, msg, wParam, lParam, result) ||
         CPropertyPage::OnWndMsg(msg, wParam, lParam, result);
}

void CRemoteCtrlPage::DoDataExchange(fw::CDataExchange* dx) {
  // A page made again after its window was destroyed binds the new list.
  if (m_cbPowerKey.GetSafeHwnd() != GetDlgItem(IDC_POWER_KEY_LIST)) m_cbPowerKey.Detach();
  fw::DDX_Control(dx, IDC_POWER_KEY_LIST, m_cbPowerKey);
}

bool CRemoteCtrlPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_SettingsKey.Open(LoadString(IDS_SETTINGS_KEY));
  return true;
}

bool CRemoteCtrlPage::OnSetActive() {
  m_cbPowerKey.ResetContent();
  m_cbPowerKey.InsertString(0, kNotSelectedText);
  const platform::Dword discovered = DiscoverPlayers();

  for (PlayerNumber number : kActivationOrder) {
    const Player& player = *FindPlayer(number);
    // Any non-zero value counts as enabled.
    const bool enabled = m_SettingsKey.ReadOrDefault(player.enable) != 0;
    if (enabled) m_cbPowerKey.InsertString(0, player.listText);
    CheckDlgButton(player.checkBoxId, enabled ? fw::bm::kChecked : fw::bm::kUnchecked);
  }

  m_dwPowerKey = m_SettingsKey.ReadOrDefault(settings::DefaultSelect);

  // With exactly one player installed and none chosen, that player becomes the choice: its
  // box is cleared and checked again so that its text stands once, at the top, and its
  // Enable value is 1.
  if (fw::LoWord(discovered) == 1 && m_dwPowerKey == kNoPlayer) {
    const platform::Dword only = fw::HiWord(discovered);
    const Player* player = FindPlayer(only);
    m_dwPowerKey = only;
    m_SettingsKey.WriteDword(settings::DefaultSelect.name, m_dwPowerKey);
    m_cbPowerKey.SetCurSel(0);
    if (player != nullptr) {
      CheckDlgButton(player->checkBoxId, fw::bm::kUnchecked);
      OnPlayerClicked(player->checkBoxId);
      CheckDlgButton(player->checkBoxId, fw::bm::kChecked);
      OnPlayerClicked(player->checkBoxId);
    }
    m_dwPowerKey = only;
  }

  ResolveOneKeyStart(m_dwPowerKey);

  // A number that names no player shows "Not Selected".
  const std::string_view text = ListText(m_dwPowerKey);
  const int item = text.empty() ? fw::cb::kErr : FindListItem(text);
  if (item == fw::cb::kErr) {
    SelectNotSelected();
  } else {
    m_cbPowerKey.SetCurSel(item);
  }
  return CPropertyPage::OnSetActive();
}

void CRemoteCtrlPage::OnPlayerClicked(int id) {
  const Player* player = FindPlayerByCheckBox(id);
  if (player == nullptr) return;
  const bool checked = IsDlgButtonChecked(id) != fw::bm::kUnchecked;
  if (checked) {
    // Offered for the power key, without changing the choice.
    m_cbPowerKey.InsertString(0, player->listText);
  } else {
    if (SelectedText().find(player->listText) != std::string::npos) {
      SelectNotSelected();
      m_dwPowerKey = kNoPlayer;
      ResolveOneKeyStart(kNoPlayer);
    }
    m_cbPowerKey.DeleteString(FindListItem(player->listText));
  }
  m_SettingsKey.WriteDword(player->enable.name, checked ? 1 : 0);
}

void CRemoteCtrlPage::OnSelChangePowerKey() {
  m_dwPowerKey = PlayerFromListText(SelectedText());
  ResolveOneKeyStart(m_dwPowerKey);
}

int CRemoteCtrlPage::FindListItem(std::string_view text) const {
  // The list's own prefix search, started after the first item and wrapping round to it.
  return m_cbPowerKey.FindString(0, text);
}

void CRemoteCtrlPage::SelectNotSelected() const {
  m_cbPowerKey.SetCurSel(FindListItem(kNotSelectedText));
}

std::string CRemoteCtrlPage::SelectedText() const {
  return m_cbPowerKey.GetLBText(m_cbPowerKey.GetCurSel());
}

}  // namespace korven
