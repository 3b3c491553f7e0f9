#include "pages/volume_page.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <iterator>

#include "device/failure_reports.h"
#include "framework/data_exchange.h"
#include "res/resource.h"

namespace korven {

namespace {

using platform::Dword;
using platform::mm::kNoError;

// Trim sliders: 0 is the top (+20 dB), 20 the middle (0 dB), 40 the bottom (-20 dB). The
// master slider shares the range, with the loudest step at the top.
constexpr int kTop = 0;
constexpr int kMiddle = 20;
constexpr int kBottom = 40;

struct ChannelRow {
  CVolumePage::Channel channel;
  int slider;
  int reset;
  Dword request;
  const settings::DwordValue* value;
  fw::CSliderCtrl CVolumePage::*control;
};

// One row a trim, in the order of the gain fields: L, R, LFE, centre, RL, RR.
constexpr ChannelRow kChannels[] = {
    {CVolumePage::L, IDC_SLIDER_L, IDC_RESET_L, IOCTL_SET_GAIN_L, &settings::VolumeL,
     &CVolumePage::m_sliderL},
    {CVolumePage::R, IDC_SLIDER_R, IDC_RESET_R, IOCTL_SET_GAIN_R, &settings::VolumeR,
     &CVolumePage::m_sliderR},
    {CVolumePage::LFE, IDC_SLIDER_LFE, IDC_RESET_LFE, IOCTL_SET_GAIN_LFE, &settings::VolumeLFE,
     &CVolumePage::m_sliderLFE},
    {CVolumePage::C, IDC_SLIDER_C, IDC_RESET_C, IOCTL_SET_GAIN_C, &settings::VolumeC,
     &CVolumePage::m_sliderC},
    {CVolumePage::RL, IDC_SLIDER_RL, IDC_RESET_RL, IOCTL_SET_GAIN_RL, &settings::VolumeRL,
     &CVolumePage::m_sliderRL},
    {CVolumePage::RR, IDC_SLIDER_RR, IDC_RESET_RR, IOCTL_SET_GAIN_RR, &settings::VolumeRR,
     &CVolumePage::m_sliderRR},
};
static_assert(std::size(kChannels) == CVolumePage::ChannelCount);

// The driver takes the stored gains once at start in this order.
constexpr CVolumePage::Channel kInitialPushOrder[] = {
    CVolumePage::L,   CVolumePage::R,  CVolumePage::C,
    CVolumePage::LFE, CVolumePage::RL, CVolumePage::RR,
};

const ChannelRow* RowOfSlider(int id) {
  for (const ChannelRow& row : kChannels) {
    if (row.slider == id) return &row;
  }
  return nullptr;
}

const ChannelRow* RowOfReset(int id) {
  for (const ChannelRow& row : kChannels) {
    if (row.reset == id) return &row;
  }
  return nullptr;
}

// Position p is 20 - p dB: the gain 10^((20 - p) / 20), formed in double precision.
ChannelGain GainOfPosition(int position) {
  return ChannelGain{static_cast<float>(std::pow(10.0, (kMiddle - position) * 0.05))};
}

// The position that shows a stored gain: the nearest whole decibel, kept on the slider. A
// gain at or below zero has no decibel value and shows at the bottom.
int PositionOfGain(float gain) {
  if (!(gain > 0.0f)) return kBottom;
  const double position = kMiddle - 20.0 * std::log10(static_cast<double>(gain));
  if (position <= kTop) return kTop;
  if (position >= kBottom) return kBottom;
  return static_cast<int>(std::lround(position));
}

// With the mapping switch on, the 41 steps cover the upper 60 % of the mixer's range
// (26214 is 40 %, 39321 is 60 % of 65535); off, they cover all of it.
constexpr Dword kUpperRangeStart = 26214;
constexpr Dword kUpperRangeSpan = 39321;
constexpr Dword kUpperRangeStep = 983;
constexpr Dword kFullRange = 65535;
constexpr Dword kFullRangeStep = 1638;

Dword MixerValueOfStep(int step, Dword filterVolume) {
  const Dword s = static_cast<Dword>(step);
  return filterVolume != 0 ? kUpperRangeStart + kUpperRangeStep * s : kFullRangeStep * s;
}

int StepOfMixerValue(Dword value, Dword filterVolume) {
  double step = 0;
  if (filterVolume != 0) {
    if (value < kUpperRangeStart) return 0;
    step = kBottom * static_cast<double>(value - kUpperRangeStart) / kUpperRangeSpan;
  } else {
    step = kBottom * static_cast<double>(value) / kFullRange;
  }
  // A control that reports more than its range still reads as the loudest step.
  return step >= kBottom ? kBottom : static_cast<int>(std::lround(step));
}

// Whether a mixer's product name, upper-cased, contains "USB".
bool NamesUsbDevice(const platform::MixerCaps& caps) {
  char name[sizeof caps.productName];
  for (std::size_t i = 0; i < sizeof name; ++i) {
    const char c = caps.productName[i];
    name[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  name[sizeof name - 1] = '\0';
  return std::strstr(name, "USB") != nullptr;
}

}  // namespace

// One mixer opened on its speakers volume control.
struct CVolumePage::MasterControl {
  platform::MixerHandle handle = platform::kNullMixer;
  platform::MixerCaps caps;
  Dword controlId = 0;
  Dword value = 0;
};

const fw::map::Entry<CVolumePage> CVolumePage::kMessageMap[] = {
    fw::map::Notify(fw::nm::kReleasedCapture, IDC_SLIDER_MASTER, &CVolumePage::OnMasterReleased),
    fw::map::NotifyFamily<kChannels, &ChannelRow::slider>(fw::nm::kReleasedCapture,
                                                          &CVolumePage::OnChannelReleased),
    fw::map::CommandFamily<kChannels, &ChannelRow::reset>(&CVolumePage::OnReset),
};

CVolumePage::CVolumePage(fw::WindowSystem& windows, const platform::Platform& platform)
    : CPropertyPage(windows, IDD_VOLUME),
      m_hDevice(*platform.device),
      m_hSettings(*platform.registry),
      mixer_(*platform.mixer) {}

CVolumePage::~CVolumePage() {
  m_hSettings.Close();
}

bool CVolumePage::OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam,
                           fw::LResult* result) {
  return fw::map::Dispatch(this, kMessageMap, msg, wParam, lParam, result) ||
         CPropertyPage::OnWndMsg(msg, wParam, lParam, result);
}

void CVolumePage::DoDataExchange(fw::CDataExchange* dx) {
  fw::DDX_Control(dx, IDC_SLIDER_MASTER, m_sliderMaster);
  for (const ChannelRow& row : kChannels) fw::DDX_Control(dx, row.slider, this->*row.control);
}

bool CVolumePage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_sliderMaster.SetRange(kTop, kBottom, false);
  m_sliderMaster.SetPos(kMiddle, true);
  for (const ChannelRow& row : kChannels) {
    (this->*row.control).SetRange(kTop, kBottom, false);
    (this->*row.control).SetPos(kMiddle, true);
  }
  LoadSettings();
  PushStoredGains();
  return true;
}

void CVolumePage::LoadSettings() {
  m_hSettings.Open(LoadString(IDS_SETTINGS_KEY));
  // A stored level outside 0-40 is kept to the scale, so the slider and the page agree.
  const Dword level = m_hSettings.ReadOrDefault(settings::SystemVolume);
  m_nStep = level > static_cast<Dword>(kBottom) ? kBottom : static_cast<int>(level);
  ShowMasterStep();
  for (const ChannelRow& row : kChannels) {
    m_gains[row.channel].value = ReadGain(row.channel);
    (this->*row.control).SetPos(PositionOfGain(m_gains[row.channel].value), true);
  }
  m_dwFilterVolume = m_hSettings.ReadOrDefault(settings::FilterVolume);
}

float CVolumePage::ReadGain(Channel channel) {
  const settings::DwordValue& value = *kChannels[channel].value;
  const float gain = std::bit_cast<float>(m_hSettings.ReadOrDefault(value));
  if (std::isfinite(gain)) return gain;
  // Not a number or infinite: corrupt, and never for the driver. Treated as missing.
  m_hSettings.WriteDword(value.name, value.defaultValue);
  return std::bit_cast<float>(value.defaultValue);
}

void CVolumePage::PushStoredGains() {
  // A handle of its own for one burst; the results are not examined and nothing is shown.
  DeviceHandle device(m_hDevice.Io());
  if (!device.Open()) return;
  for (Channel channel : kInitialPushOrder) {
    device.SendInput(kChannels[channel].request, m_gains[channel], &m_dwBytesReturned);
  }
}

bool CVolumePage::OnSetActive() {
  m_hDevice.Open();
  int step = m_nStep;
  if (ReadMasterStep(&step)) {
    m_nStep = step;
    m_hSettings.WriteDword(settings::SystemVolume.name, static_cast<Dword>(m_nStep));
    ShowMasterStep();
  }
  return CPropertyPage::OnSetActive();
}

bool CVolumePage::OnKillActive() {
  m_hDevice.Close();
  return CPropertyPage::OnKillActive();
}

void CVolumePage::OnChannelReleased(int sliderId) {
  const ChannelRow* row = RowOfSlider(sliderId);
  if (row == nullptr || !m_hDevice.IsOpen()) return;
  m_gains[row->channel] = GainOfPosition((this->*row->control).GetPos());
  // On failure the slider stays where the user left it.
  ApplyGain(row->channel);
}

void CVolumePage::OnReset(int resetId) {
  const ChannelRow* row = RowOfReset(resetId);
  if (row == nullptr || !m_hDevice.IsOpen()) return;
  m_gains[row->channel] = ChannelGain{1.0f};
  if (!ApplyGain(row->channel)) return;
  (this->*row->control).SetPos(kMiddle, true);
  UpdateData(false);
}

bool CVolumePage::ApplyGain(Channel channel) {
  const ChannelRow& row = kChannels[channel];
  if (!m_hDevice.SendInput(row.request, m_gains[channel], &m_dwBytesReturned)) {
    ShowTransportErrorReport(*this);
    return false;
  }
  m_hSettings.WriteDword(row.value->name, std::bit_cast<Dword>(m_gains[channel].value));
  return true;
}

void CVolumePage::OnMasterReleased() {
  m_nStep = kBottom - m_sliderMaster.GetPos();
  if (ApplyMasterStep()) {
    m_hSettings.WriteDword(settings::SystemVolume.name, static_cast<Dword>(m_nStep));
  }
}

void CVolumePage::ShowMasterStep() {
  m_sliderMaster.SetPos(kBottom - m_nStep, true);
}

bool CVolumePage::OpenMasterControl(Dword index, MasterControl* control) {
  if (mixer_.Open(&control->handle, index) != kNoError) return false;
  platform::MixerLine line;
  platform::MixerControl volume;
  if (mixer_.GetDevCaps(control->handle, &control->caps) == kNoError &&
      mixer_.GetLineInfoByComponent(control->handle, platform::mm::kComponentSpeakers, &line) ==
          kNoError &&
      mixer_.GetLineControlByType(control->handle, line.lineId, platform::mm::kControlVolume,
                                  &volume) == kNoError &&
      mixer_.GetControlValue(control->handle, volume.controlId, &control->value) == kNoError) {
    control->controlId = volume.controlId;
    return true;
  }
  mixer_.Close(control->handle);
  return false;
}

bool CVolumePage::ReadMasterStep(int* step) {
  // The step shown is the first mixer whose name says USB, or else the last one.
  const Dword count = mixer_.GetNumDevs();
  for (Dword index = 0; index < count; ++index) {
    MasterControl control;
    if (!OpenMasterControl(index, &control)) return false;
    *step = StepOfMixerValue(control.value, m_dwFilterVolume);
    if (mixer_.Close(control.handle) != kNoError) return false;
    if (NamesUsbDevice(control.caps)) break;
  }
  return true;
}

bool CVolumePage::ApplyMasterStep() {
  // Every mixer is set, whatever its name; a failure leaves the ones before it changed.
  const Dword value = MixerValueOfStep(m_nStep, m_dwFilterVolume);
  const Dword count = mixer_.GetNumDevs();
  for (Dword index = 0; index < count; ++index) {
    MasterControl control;
    if (!OpenMasterControl(index, &control)) return false;
    if (mixer_.SetControlValue(control.handle, control.controlId, value) != kNoError) {
      mixer_.Close(control.handle);
      return false;
    }
    if (mixer_.Close(control.handle) != kNoError) return false;
  }
  return true;
}

}  // namespace korven
