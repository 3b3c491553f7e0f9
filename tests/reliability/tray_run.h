// The whole program on a simulated machine, driven from the tray, with one timeline of what
// reached the driver and what reached the registry, and the list of everything a run left
// behind. Shared by the fault sweep and the endurance runs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/device_io.h"
#include "platform/registry.h"
#include "shell/control_panel_app.h"
#include "testing/simulated_machine.h"

namespace korven::reliability {

// One event of the timeline: a request the driver answered, or a value the registry stored.
struct TimelineEvent {
  enum Kind { Request, Write } kind = Request;
  platform::Dword code = 0;  // Request
  bool succeeded = false;    // Request
  std::string name;          // Write: the value's name
};

// Passes every call on to the simulated registry and logs each stored value.
class RecordingRegistry : public platform::Registry {
 public:
  RecordingRegistry(platform::Registry& inner, std::vector<TimelineEvent>& timeline)
      : inner_(inner), timeline_(timeline) {}

  platform::Long CreateKeyEx(platform::HKey root, const char* subKey, const char* keyClass,
                             platform::Dword options, platform::Dword access,
                             platform::HKey* result, platform::Dword* disposition) override {
    return inner_.CreateKeyEx(root, subKey, keyClass, options, access, result, disposition);
  }
  platform::Long OpenKeyEx(platform::HKey root, const char* subKey, platform::Dword access,
                           platform::HKey* result) override {
    return inner_.OpenKeyEx(root, subKey, access, result);
  }
  platform::Long QueryValueEx(platform::HKey key, const char* name, platform::Dword* type,
                              std::uint8_t* data, platform::Dword* size) override {
    return inner_.QueryValueEx(key, name, type, data, size);
  }
  platform::Long SetValueEx(platform::HKey key, const char* name, platform::Dword type,
                            const std::uint8_t* data, platform::Dword size) override {
    const platform::Long result = inner_.SetValueEx(key, name, type, data, size);
    if (result == platform::error::kSuccess) {
      timeline_.push_back({TimelineEvent::Write, 0, false, name != nullptr ? name : ""});
    }
    return result;
  }
  platform::Long EnumKey(platform::HKey key, platform::Dword index, char* name,
                         platform::Dword nameSize) override {
    return inner_.EnumKey(key, index, name, nameSize);
  }
  platform::Long CloseKey(platform::HKey key) override { return inner_.CloseKey(key); }

 private:
  platform::Registry& inner_;
  std::vector<TimelineEvent>& timeline_;
};

// Passes every call on to the machine's device I/O and logs each request's outcome.
class RecordingDeviceIo : public platform::DeviceIo {
 public:
  RecordingDeviceIo(platform::DeviceIo& inner, std::vector<TimelineEvent>& timeline)
      : inner_(inner), timeline_(timeline) {}

  platform::Handle CreateFile(const char* path, platform::Dword access, platform::Dword share,
                              platform::Dword disposition, platform::Dword flags) override {
    return inner_.CreateFile(path, access, share, disposition, flags);
  }
  bool DeviceIoControl(platform::Handle device, platform::Dword code, const void* in,
                       platform::Dword inSize, void* out, platform::Dword outSize,
                       platform::Dword* returned) override {
    const bool ok = inner_.DeviceIoControl(device, code, in, inSize, out, outSize, returned);
    timeline_.push_back({TimelineEvent::Request, code, ok, {}});
    return ok;
  }
  bool CloseHandle(platform::Handle handle) override { return inner_.CloseHandle(handle); }
  platform::Dword GetLastError() override { return inner_.GetLastError(); }

 private:
  platform::DeviceIo& inner_;
  std::vector<TimelineEvent>& timeline_;
};

// The mirrored value a private request sets, or null for a request that sets none.
const char* MirroredValueOf(platform::Dword code);

// Every mirrored value stored right after its own request failed (before the next request):
// one line each, "IOCTL_SET_GAIN_L failed, then VolumeL stored".
std::vector<std::string> StoredAfterFailure(const std::vector<TimelineEvent>& timeline);

class TrayRun {
 public:
  TrayRun();

  // Runs the program; `whileRunning` is what the user does while it sits in the tray.
  int Run(const std::function<void()>& whileRunning);

  CControlPanelDlg& Panel() { return *app_->ControlPanel(); }
  // The exit sequence has run (a fault may start it): the window only waits to be destroyed,
  // and nothing the user does reaches it any more.
  bool Ended();
  // A press on the tray icon and a pick in its menu; nothing when the shell shows no icon.
  void TrayCommand(unsigned command);
  bool TrayIconShown();
  void DeviceNodesChanged();
  void PlugIn();  // plugged, and the two notifications that follow
  void Unplug();  // unplugged, and its notification
  void SelectPage(int index);
  void ClickOnPage(int page, int id);
  void DragOnPage(int page, int id, int position);

  // What the run left open or used after it was gone; `faultedCall` (the name of the call
  // made to fail, if any) may keep the one thing its failed release held.
  std::vector<std::string> Leftovers(const std::string& faultedCall = {}) const;
  // Clears every log the simulations keep, so that a long run measures the program alone.
  void ClearLogs();

  testing::SimulatedMachine m;
  bool exitReachable = false;  // the tray icon was there to pick Exit from
  std::vector<TimelineEvent> timeline;
  RecordingRegistry registry{m.registry, timeline};
  RecordingDeviceIo device{m.router, timeline};

 private:
  std::unique_ptr<CControlPanelApp> app_;
};

// Three players the Remote Controller page finds.
void InstallPlayers(testing::SimulatedMachine& m);

// The sitting: settings opened, every page visited and every control changed, the three
// speaker tests, an unplug and a plug, the 5.1 warning answered both ways, and Exit.
void OneSitting(TrayRun& s);

}  // namespace korven::reliability
