#include "pages/effects_page.h"

#include <iterator>

#include "device/failure_reports.h"
#include "device/requests.h"
#include "framework/data_exchange.h"
#include "res/resource.h"

namespace korven {

namespace {

constexpr unsigned kSourceDisplayPeriodMs = 300;

// The controls that only mean something while the filter is on, in the order they change.
constexpr int kFilterDependentControls[] = {
    IDC_SPEAKERS_21, IDC_SPEAKERS_51, IDC_BASS_GROUP, IDC_BASS_120, IDC_BASS_300, IDC_BASS_450,
};

// Crossover buttons by BassOutputMode.
constexpr int kCrossoverButtons[] = {IDC_BASS_120, IDC_BASS_300, IDC_BASS_450};
static_assert(std::size(kCrossoverButtons) == std::size(kBassModeRecords));

// Speaker layout requests by OutputMode.
constexpr platform::Dword kSpeakerRequests[] = {IOCTL_OUTPUT_2_1, IOCTL_OUTPUT_5_1};

// The exit reset returns every channel to unity in this order.
constexpr platform::Dword kExitResetGains[] = {
    IOCTL_SET_GAIN_LFE, IOCTL_SET_GAIN_C,  IOCTL_SET_GAIN_R,
    IOCTL_SET_GAIN_L,   IOCTL_SET_GAIN_RR, IOCTL_SET_GAIN_RL,
};

}  // namespace

const fw::map::Entry<CEffectsPage> CEffectsPage::kMessageMap[] = {
    fw::map::Command(IDC_ENABLE_FILTER, &CEffectsPage::OnEnableFilter),
    fw::map::Command(IDC_SPEAKERS_21, &CEffectsPage::OnSpeakers21),
    fw::map::Command(IDC_SPEAKERS_51, &CEffectsPage::OnSpeakers51),
    fw::map::CommandFamily<kCrossoverButtons>(&CEffectsPage::OnCrossover),
    fw::map::Timer(&CEffectsPage::OnTimer),
};

CEffectsPage::CEffectsPage(fw::WindowSystem& windows, const platform::Platform& platform,
                           int& openFailureCount)
    : CPropertyPage(windows, IDD_FILTER),
      OpenFailureCount(openFailureCount),
      Device(*platform.device),
      SettingsKey(*platform.registry) {}

CEffectsPage::~CEffectsPage() { SettingsKey.Close(); }

bool CEffectsPage::OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam,
                            fw::LResult* result) {
  return fw::map::Dispatch(this, kMessageMap, msg, wParam, lParam, result) ||
         CPropertyPage::OnWndMsg(msg, wParam, lParam, result);
}

void CEffectsPage::DoDataExchange(fw::CDataExchange* dx) {
  fw::DDX_Check(dx, IDC_ENABLE_FILTER, EnableFilter);
  fw::DDX_Text(dx, IDC_SOURCE_TEXT, SourceText);
  fw::DDX_Radio(dx, IDC_BASS_120, BassOutputMode);
  fw::DDX_Radio(dx, IDC_SPEAKERS_21, OutputMode);
}

bool CEffectsPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  LoadSettings();
  UpdateData(false);
  return true;
}

void CEffectsPage::LoadSettings() {
  SettingsKey.Open(LoadString(IDS_SETTINGS_KEY));
  EnableFilter = static_cast<int>(SettingsKey.ReadOrDefault(settings::EnableFilter));
  OutputMode = static_cast<int>(SettingsKey.ReadOrDefault(settings::OutputMode));
  BassOutputMode = static_cast<int>(SettingsKey.ReadOrDefault(settings::BassOutputMode));
}

bool CEffectsPage::OnSetActive() {
  if (!Device.Open()) {
    ++OpenFailureCount;
    // The first failure of the process is silent: the driver may still be starting.
    if (ActivationMode == PushAll && OpenFailureCount >= 2) ShowDriverMissingReport(*this);
    return false;
  }
  if (ActivationMode == PushAll) {
    OnEnableFilter();
    ActivationMode = Settled;
  } else if (ActivationMode == ExitReset) {
    ResetDevice();
  }
  SetTimer(IDT_SOURCE_DISPLAY, kSourceDisplayPeriodMs);
  return CPropertyPage::OnSetActive();
}

bool CEffectsPage::OnKillActive() {
  Device.Close();
  KillTimer(IDT_SOURCE_DISPLAY);
  return CPropertyPage::OnKillActive();
}

void CEffectsPage::ResetDevice() {
  // Results are not examined and nothing is stored: the next start restores the user's choice.
  Device.Send(IOCTL_FILTER_OFF, &BytesReturned);
  const ChannelGain unity{1.0f};
  for (platform::Dword request : kExitResetGains) Device.SendInput(request, unity, &BytesReturned);
}

void CEffectsPage::OnEnableFilter() {
  if (!Device.IsOpen()) return;
  ApplyEnableFilter(Device);
}

void CEffectsPage::ApplyEnableFilter(DeviceHandle& device) {
  UpdateData(true);
  if (EnableFilter != 0) {
    WarnOn51Source = 1;
    EnableFilterControls(true);
    if (!device.Send(IOCTL_FILTER_ON, &BytesReturned)) {
      ShowTransportErrorReport(*this);
      return;
    }
    SettingsKey.WriteDword(settings::EnableFilter.name, static_cast<platform::Dword>(EnableFilter));
    if (ActivationMode == PushAll) {
      if (OutputMode == 0) OnSpeakers21();
      if (OutputMode == 1) OnSpeakers51();
      if (BassOutputMode >= 0 && BassOutputMode < static_cast<int>(std::size(kBassModeRecords))) {
        SetBassMode(BassOutputMode);
      }
    }
  } else {
    EnableFilterControls(false);
    if (!device.Send(IOCTL_FILTER_OFF, &BytesReturned)) {
      ShowTransportErrorReport(*this);
      return;
    }
    SettingsKey.WriteDword(settings::EnableFilter.name, 0);
  }
}

void CEffectsPage::EnableFilterControls(bool enable) {
  for (int id : kFilterDependentControls) EnableDlgItem(id, enable);
}

void CEffectsPage::OnSpeakers21() { SetSpeakers(0); }
void CEffectsPage::OnSpeakers51() { SetSpeakers(1); }

void CEffectsPage::SetSpeakers(int outputMode) {
  if (!Device.IsOpen()) return;
  if (!Device.Send(kSpeakerRequests[outputMode], &BytesReturned)) {
    ShowTransportErrorReport(*this);
    return;
  }
  UpdateData(true);
  SettingsKey.WriteDword(settings::OutputMode.name, static_cast<platform::Dword>(OutputMode));
}

void CEffectsPage::OnCrossover(int id) {
  for (int index = 0; index < static_cast<int>(std::size(kCrossoverButtons)); ++index) {
    if (kCrossoverButtons[index] == id) SetBassMode(index);
  }
}

void CEffectsPage::SetBassMode(int index) {
  if (!Device.IsOpen()) return;
  if (!Device.SendInput(IOCTL_SET_BASS_MODE, kBassModeRecords[index], &BytesReturned)) return;
  // The field follows at the next reading of the controls.
  SettingsKey.WriteDword(settings::BassOutputMode.name, static_cast<platform::Dword>(index));
}

void CEffectsPage::OnTimer(std::uintptr_t id) {
  if (id != IDT_SOURCE_DISPLAY || !Device.IsOpen()) return;
  SourceChannelsReply reply{};
  if (!Device.Send(IOCTL_GET_SOURCE_CHANNELS, nullptr, 0, &reply, sizeof reply, &BytesReturned)) {
    return;
  }
  UpdateData(true);
  if (m_source51Text.empty()) {
    m_source51Text = LoadString(IDS_SOURCE_51CH);
    m_source2Text = LoadString(IDS_SOURCE_2CH);
  }
  const std::string text = reply.MultiChannel != 0 ? m_source51Text
                           : reply.TwoChannel != 0 ? m_source2Text
                                                   : std::string();
  // Showing the fields again would set the other controls to the states just read from them:
  // only a new text goes to the screen.
  if (text == SourceText) return;
  SourceText = text;
  SetDlgItemText(IDC_SOURCE_TEXT, SourceText);
}

void CEffectsPage::ApplyFilterState() {
  UpdateData(false);
  if (Device.IsOpen()) {
    OnEnableFilter();
    return;
  }
  // Not the active page: the user's answer still has to reach the driver and the key.
  DeviceHandle own(Device.Io());
  if (!own.Open()) {
    ShowTransportErrorReport(*this);
    return;
  }
  ApplyEnableFilter(own);
}

}  // namespace korven
