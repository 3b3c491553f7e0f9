// CVolumePage: the Volume page. Six channel trims (+20 dB to -20 dB) go to the driver as gain
// requests and are stored once accepted; the master slider sets the volume of every mixer
// of the system on a 41-step scale.
#pragma once

#include <cstdint>

#include "device/device_handle.h"
#include "device/requests.h"
#include "framework/message_map.h"
#include "framework/property_page.h"
#include "framework/slider_ctrl.h"
#include "platform/mixer.h"
#include "platform/platform.h"
#include "settings/settings_key.h"

namespace korven {

class CVolumePage : public fw::CPropertyPage {
 public:
  // The trims by channel, the order of the gain fields.
  enum Channel : int { L, R, LFE, C, RL, RR, ChannelCount };

  CVolumePage(fw::WindowSystem& windows, const platform::Platform& platform);
  ~CVolumePage() override;

  bool OnSetActive() override;
  bool OnKillActive() override;

  // The trims are bound through the page's channel table.
  fw::CSliderCtrl m_sliderRL{Windows()};
  fw::CSliderCtrl m_sliderRR{Windows()};
  fw::CSliderCtrl m_sliderR{Windows()};
  fw::CSliderCtrl m_sliderMaster{Windows()};
  fw::CSliderCtrl m_sliderLFE{Windows()};
  fw::CSliderCtrl m_sliderL{Windows()};
  fw::CSliderCtrl m_sliderC{Windows()};
  DeviceHandle m_hDevice;
  korven::SettingsKey m_hSettings;
  platform::Dword m_dwFilterVolume = 1;
  int m_nStep = 1;
  ChannelGain m_gains[ChannelCount];
  platform::Dword m_dwBytesReturned = 0;

 protected:
  void DoDataExchange(fw::CDataExchange* dx) override;
  bool OnInitDialog() override;
  bool OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam, fw::LResult* result) override;

 private:
  struct MasterControl;

  void OnMasterReleased();
  void OnChannelReleased(int sliderId);
  void OnReset(int resetId);

  void LoadSettings();
  // A stored gain; one that is not a finite number counts as missing.
  float ReadGain(Channel channel);
  void PushStoredGains();
  // Sends the channel's gain field; stores it once the driver accepts it, reports otherwise.
  bool ApplyGain(Channel channel);

  // The step of the mixers' master volume; false when any mixer call failed.
  bool ReadMasterStep(int* step);
  // Sets every mixer to the page's step; false when any mixer call failed.
  bool ApplyMasterStep();
  // Opens mixer `index` and finds its speakers volume control with its current value. On
  // failure the mixer is closed again.
  bool OpenMasterControl(platform::Dword index, MasterControl* control);
  void ShowMasterStep();

  platform::Mixer& mixer_;

  static const fw::map::Entry<CVolumePage> kMessageMap[];
};

}  // namespace korven
