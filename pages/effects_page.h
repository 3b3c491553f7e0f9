// CEffectsPage: the Filter page. Switches the driver's output filter, chooses 2.1 or 5.1
// speakers and the bass crossover, shows the playing source, and pushes the stored settings
// when the Control Panel window asks for it.
#pragma once

#include <cstdint>
#include <string>

#include "device/device_handle.h"
#include "framework/message_map.h"
#include "framework/property_page.h"
#include "platform/platform.h"
#include "settings/settings_key.h"

namespace korven {

class CEffectsPage : public fw::CPropertyPage {
 public:
  // What the next activation does.
  enum : int {
    None = 0,       // open the device, start the source display
    PushAll = 1,    // also push the stored settings, then become Settled
    ExitReset = 2,  // also switch the filter off and set all six gains to unity
    Settled = 3,    // as None, after a push
  };

  // `openFailureCount` counts failed device opens during activation over the whole process.
  CEffectsPage(fw::WindowSystem& windows, const platform::Platform& platform,
               int& openFailureCount);
  ~CEffectsPage() override;

  bool DestroyWindow() override { return CPropertyPage::DestroyWindow(); }
  bool OnSetActive() override;
  bool OnKillActive() override;

  // After the Control Panel window set EnableFilter: show it and apply it to the driver,
  // over a handle of the page's own when the page is not active.
  void ApplyFilterState();

  int& OpenFailureCount;
  int EnableFilter = 0;
  std::string SourceText;
  int BassOutputMode = -1;
  int OutputMode = -1;
  DeviceHandle Device;
  korven::SettingsKey SettingsKey;
  platform::Dword BytesReturned = 0;
  int WarnOn51Source = 1;
  int ActivationMode = None;

 protected:
  void DoDataExchange(fw::CDataExchange* dx) override;
  bool OnInitDialog() override;
  bool OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam,
                fw::LResult* result) override;

 private:
  void LoadSettings();
  void OnEnableFilter();
  void OnSpeakers21();
  void OnSpeakers51();
  void OnCrossover(int id);
  void SetBassMode(int index);
  void OnTimer(std::uintptr_t id);

  // Applies EnableFilter to the driver over `device` and, once accepted, to the Settings key.
  void ApplyEnableFilter(DeviceHandle& device);
  void SetSpeakers(int outputMode);
  void EnableFilterControls(bool enable);
  void ResetDevice();

  // The source display's two texts, read from the string table at its first tick.
  std::string m_source51Text;
  std::string m_source2Text;

  static const fw::map::Entry<CEffectsPage> kMessageMap[];
};

}  // namespace korven
