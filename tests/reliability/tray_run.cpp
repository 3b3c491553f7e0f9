#include "tests/reliability/tray_run.h"

#include "device/requests.h"
#include "framework/property_page.h"
#include "pages/effects_page.h"
#include "platform/sim/sim_korven_device.h"
#include "res/resource.h"
#include "settings/settings_values.h"
#include "shell/control_panel_dlg.h"

namespace korven::reliability {

const char* MirroredValueOf(platform::Dword code) {
  switch (code) {
    case IOCTL_FILTER_ON:
    case IOCTL_FILTER_OFF:
      return settings::EnableFilter.name;
    case IOCTL_OUTPUT_5_1:
    case IOCTL_OUTPUT_2_1:
      return settings::OutputMode.name;
    case IOCTL_SET_BASS_MODE:
      return settings::BassOutputMode.name;
    case IOCTL_SET_GAIN_L:
      return settings::VolumeL.name;
    case IOCTL_SET_GAIN_R:
      return settings::VolumeR.name;
    case IOCTL_SET_GAIN_C:
      return settings::VolumeC.name;
    case IOCTL_SET_GAIN_LFE:
      return settings::VolumeLFE.name;
    case IOCTL_SET_GAIN_RL:
      return settings::VolumeRL.name;
    case IOCTL_SET_GAIN_RR:
      return settings::VolumeRR.name;
    default:
      return nullptr;
  }
}

std::vector<std::string> StoredAfterFailure(const std::vector<TimelineEvent>& timeline) {
  std::vector<std::string> found;
  const TimelineEvent* failed = nullptr;  // the last request, while it failed
  for (const TimelineEvent& event : timeline) {
    if (event.kind == TimelineEvent::Request) {
      failed = event.succeeded ? nullptr : &event;
      continue;
    }
    if (failed == nullptr) continue;
    const char* mirrored = MirroredValueOf(failed->code);
    if (mirrored != nullptr && event.name == mirrored) {
      found.push_back(platform::sim::RequestName(failed->code) + " failed, then " + event.name +
                      " stored");
    }
  }
  return found;
}

TrayRun::TrayRun() {
  m.platform.registry = &registry;
  m.platform.device = &device;
}

int TrayRun::Run(const std::function<void()>& whileRunning) {
  app_ = std::make_unique<CControlPanelApp>(m.windows, m.platform);
  m.windows.SetModalDriver([&](fw::Hwnd) {
    m.windows.PumpMessages();
    whileRunning();
  });
  const int code = app_->Run();
  app_.reset();
  return code;
}

bool TrayRun::Ended() {
  return app_ == nullptr || app_->ControlPanel() == nullptr || Panel().FilterPage() == nullptr;
}

bool TrayRun::TrayIconShown() {
  if (Ended()) return false;
  // An icon the shell kept after refusing its delete answers with no menu: not the program's.
  const platform::NotifyIconData& record = Panel().TrayIcon().Record();
  return Panel().TrayIcon().IsEnabled() && m.shell.FindIcon(record.hWnd, record.uID) != nullptr;
}

void TrayRun::TrayCommand(unsigned command) {
  if (!TrayIconShown()) return;
  m.windows.AnswerPopupMenu(fw::headless::MenuPick::Command(command));
  Panel().SendMessage(WM_TRAY_NOTIFY, Panel().TrayIcon().Record().uID, fw::wm::kRButtonDown);
  m.windows.PumpMessages();
}

void TrayRun::DeviceNodesChanged() {
  if (Ended()) return;
  Panel().SendMessage(fw::wm::kDeviceChange, fw::dbt::kDevNodesChanged, 0);
  m.windows.PumpMessages();
}

void TrayRun::PlugIn() {
  m.PlugKorven();
  DeviceNodesChanged();
  DeviceNodesChanged();
}

void TrayRun::Unplug() {
  m.UnplugKorven();
  DeviceNodesChanged();
}

void TrayRun::SelectPage(int index) {
  if (Ended()) return;
  Panel().Sheet().SetActivePage(index);
  m.windows.PumpMessages();
}

void TrayRun::ClickOnPage(int page, int id) {
  if (Ended()) return;
  if (fw::CPropertyPage* p = Panel().Sheet().GetPage(page)) m.windows.Click(p->GetSafeHwnd(), id);
  m.windows.PumpMessages();
}

void TrayRun::DragOnPage(int page, int id, int position) {
  if (Ended()) return;
  if (fw::CPropertyPage* p = Panel().Sheet().GetPage(page)) {
    m.windows.DragSlider(m.windows.Control(p->GetSafeHwnd(), id), position);
  }
  m.windows.PumpMessages();
}

std::vector<std::string> TrayRun::Leftovers(const std::string& faultedCall) const {
  std::vector<std::string> left;
  auto expect = [&](const char* what, long long count, long long allowed = 0) {
    if (count > allowed) left.push_back(std::string(what) + " " + std::to_string(count));
  };
  // A release the platform refused keeps what it was to release: that one is not a leak.
  const bool closeFailed = faultedCall == "CloseHandle";
  expect("device handles", m.korven.OpenHandleCount());
  expect("USB handles", m.usb.OpenHandleCount(), closeFailed ? 1 : 0);
  expect("registry handles", m.registry.OpenHandleCount());
  expect("libraries", m.modules.LoadedCount(), faultedCall == "FreeLibrary" ? 1 : 0);
  expect("mixer handles", m.mixers.OpenHandleCount(), faultedCall == "mixerClose" ? 1 : 0);
  expect("tray icons", static_cast<long long>(m.shell.IconCount()),
         faultedCall == "Shell_NotifyIconA" ? 1 : 0);
  expect("mutex handles", m.system.OpenHandleCount());
  expect("device lists", m.interfaces.OpenListCount());
  expect("stale device list uses", m.interfaces.InvalidListUses());
  expect("icons", static_cast<long long>(m.windows.LiveIconCount()));
  expect("menus", static_cast<long long>(m.windows.LiveMenuCount()));
  expect("bitmaps", static_cast<long long>(m.windows.LiveBitmapCount()));
  expect("drawing contexts", static_cast<long long>(m.windows.LiveDcCount()));
  expect("timers", static_cast<long long>(m.windows.LiveTimerCount()));
  expect("windows", static_cast<long long>(m.windows.LiveWindowCount()));
  expect("stale device handle uses", m.korven.InvalidHandleUses());
  expect("stale USB handle uses", m.usb.InvalidHandleUses());
  expect("stale registry handle uses", m.registry.InvalidHandleUses());
  expect("stale module uses", m.modules.InvalidUses());
  expect("stale mixer handle uses", m.mixers.InvalidHandleUses());
  const bool soundFailed = faultedCall == "PlaySoundA" || faultedCall == "sndPlaySoundA";
  // A sound played once ends by itself; a loop would play on after the program.
  if (!soundFailed && m.sound.Playing().ends_with("loop")) {
    left.push_back("sound still playing: " + m.sound.Playing());
  }
  return left;
}

void TrayRun::ClearLogs() {
  timeline.clear();
  m.faults.Reset();
  m.registry.ClearWrites();
  m.korven.ClearRequests();
  m.korven.ClearOpens();
  m.usb.ClearLog();
  m.modules.ClearLog();
  m.modules.ClearLoadPaths();
  m.mixers.ClearLog();
  m.shell.ClearLog();
  m.sound.ClearLog();
  m.system.ClearSleeps();
}

}  // namespace korven::reliability
