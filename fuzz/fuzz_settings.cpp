// The whole program started on a machine whose Settings key holds whatever the input says:
// any value of the key with any type and bytes. It starts, opens its settings, visits every
// page, exits, and must hand the driver only finite gains and known records, and give back
// every handle.
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "device/requests.h"
#include "fuzz/fuzz_input.h"
#include "res/resource.h"
#include "settings/settings_values.h"
#include "shell/control_panel_app.h"
#include "shell/control_panel_dlg.h"
#include "testing/simulated_machine.h"

namespace {

const char* const kNames[] = {
    "EnableFilter", "OutputMode",   "BassOutputMode",    "SystemVolume",  "VolumeL",
    "VolumeR",      "VolumeC",      "VolumeLFE",         "VolumeRL",      "VolumeRR",
    "FilterVolume", "TestMode",     "TestBtnStatus",     "WinDVDEnable",  "PowerDVDEnable",
    "WinampEnable", "WinripEnable", "MediaPlayerEnable", "DefaultSelect", "IsWinamp3",
    "ExistMPlayer", "OneKeyStart"};

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korven::fuzz::Input in(data, size);
  korven::testing::SimulatedMachine m;
  m.PlugKorven();
  while (!in.Empty()) {
    const char* name = kNames[in.Byte() % std::size(kNames)];
    const platform::Dword type = in.Byte() & 15;
    const std::string bytes = in.Bytes(300);
    m.registry.SetValue(platform::HKey::LocalMachine, m.kSettingsKey, name, type,
                        std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }
  korven::CControlPanelApp app(m.windows, m.platform);
  m.windows.SetModalDriver([&](fw::Hwnd) {
    m.windows.PumpMessages();
    korven::CControlPanelDlg* panel = app.ControlPanel();
    if (panel == nullptr || panel->FilterPage() == nullptr) return;
    auto tray = [&](unsigned command) {
      m.windows.AnswerPopupMenu(fw::headless::MenuPick::Command(command));
      panel->SendMessage(WM_TRAY_NOTIFY, panel->TrayIcon().Record().uID, fw::wm::kRButtonDown);
      m.windows.PumpMessages();
    };
    tray(ID_TRAY_OPEN_SETTING);
    for (int page = 0; page < 4 && panel->FilterPage() != nullptr; ++page) {
      panel->Sheet().SetActivePage(page);
      m.windows.Advance(300);
    }
    if (panel->FilterPage() != nullptr) tray(ID_TRAY_TEST_SPEAKER);
    m.windows.Advance(300);
    if (panel->FilterPage() != nullptr) tray(ID_TRAY_EXIT);
  });
  app.Run();

  for (const auto& request : m.korven.Accepted()) {
    if (request.code >= korven::IOCTL_SET_GAIN_LFE && request.code <= korven::IOCTL_SET_GAIN_RR) {
      float gain = 0;
      std::memcpy(&gain, request.input.data(), sizeof gain);
      Check(std::isfinite(gain));
    }
    if (request.code == korven::IOCTL_SET_BASS_MODE) {
      bool known = false;
      for (const auto& record : korven::kBassModeRecords) {
        known = known || std::memcmp(&record, request.input.data(), sizeof record) == 0;
      }
      Check(known);
    }
  }
  Check(m.korven.OpenHandleCount() == 0);
  Check(m.registry.OpenHandleCount() == 0);
  Check(m.modules.LoadedCount() == 0);
  Check(m.mixers.OpenHandleCount() == 0);
  Check(m.windows.LiveWindowCount() == 0);
  Check(m.windows.LiveTimerCount() == 0);
  return 0;
}
