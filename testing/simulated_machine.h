// A whole simulated machine for the program: registry, the KORVEN on a USB tree, the two
// companion libraries beside the program, a mixer, the tray, sounds, the named mutex and
// the window system, all wired into one platform bundle.
#pragma once

#include <string>

#include "device/companion_libraries.h"
#include "framework/headless/headless_window_system.h"
#include "platform/platform.h"
#include "platform/sim/fault_plan.h"
#include "platform/sim/sim_code_page.h"
#include "platform/sim/sim_device_interfaces.h"
#include "platform/sim/sim_device_router.h"
#include "platform/sim/sim_korven_device.h"
#include "platform/sim/sim_mixers.h"
#include "platform/sim/sim_modules.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_sound.h"
#include "platform/sim/sim_system.h"
#include "platform/sim/sim_usb_tree.h"
#include "platform/usb_ioctl.h"

namespace korven::testing {

struct SimulatedMachine {
  static constexpr const char* kRootHub = "ROOT_HUB_0";
  // The system's device list names HCD0 by its interface too, and a second, empty host
  // controller only so.
  static constexpr const char* kHcd0Interface =
      "\\\\?\\pci#ven_8086&dev_1e31#3&11583659&1&a8#{3abf6f2d-71c4-462a-8a92-1e6861e6af27}";
  static constexpr const char* kSecondController =
      "\\\\?\\pci#ven_1b21&dev_1242#4&2fd3b2c1&0&00e4#{3abf6f2d-71c4-462a-8a92-1e6861e6af27}";
  static constexpr const char* kSecondRootHub = "ROOT_HUB_1";
  static constexpr int kKorvenPort = 2;
  static constexpr std::uint16_t kVendor = 0x2B4D;
  static constexpr std::uint16_t kProduct = 0x1100;
  static constexpr const char* kSettingsKey = "SOFTWARE\\TALVOR\\KORVEN\\Filter\\";

  SimulatedMachine() {
    platform.registry = &registry;
    platform.device = &router;
    platform.modules = &modules;
    platform.codePage = &codePage;
    platform.mixer = &mixers;
    platform.shell = &shell;
    platform.sound = &sound;
    platform.system = &system;
    platform.deviceInterfaces = &interfaces;
    sound.SetClock([this] { return windows.Now(); });
    shell.SetMajorVersion(5);
    usb.AddHostController(0, kRootHub);
    usb.AddHub(kRootHub, 4);
    usb.AddInterfaceHostController(kHcd0Interface, kRootHub);
    interfaces.Add(platform::usb::kHostControllerInterface, kHcd0Interface);
    usb.AddInterfaceHostController(kSecondController, kSecondRootHub);
    usb.AddHub(kSecondRootHub, 2);
    interfaces.Add(platform::usb::kHostControllerInterface, kSecondController);
    filterLibrary = modules.BesideProgram(kFilterLibrary);
    modules.SetEntryPoint(filterLibrary, kIsDeviceInstalled, {1, {}});
    modules.SetEntryPoint(filterLibrary, kAddUsbAudioFilter, {1, {}});
    monitorLibrary = modules.BesideProgram(kHidMonitorLibrary);
    modules.SetEntryPoint(monitorLibrary, kOpenHidMonitor, {0, {}});
    modules.SetEntryPoint(monitorLibrary, kCloseHidMonitor, {0, {}});
    mixers.AddMixer("USB Audio Device", 40000);
    korven.Unplug();  // a test plugs the device in when it wants one
  }

  void PlugKorven() {
    usb.PlugDevice(kRootHub, kKorvenPort, kVendor, kProduct);
    korven.Replug();
  }
  void UnplugKorven() {
    usb.Unplug(kRootHub, kKorvenPort);
    korven.Unplug();
  }

  platform::sim::FaultPlan faults;
  platform::sim::SimRegistry registry{&faults};
  platform::sim::SimKorvenDevice korven{&faults};
  platform::sim::SimUsbTree usb{&faults};
  platform::sim::SimDeviceRouter router{korven, usb};
  platform::sim::SimModules modules{&faults};
  platform::sim::SimCodePage codePage{&faults};
  platform::sim::SimMixers mixers{&faults};
  platform::sim::SimShell shell{&faults};
  platform::sim::SimSound sound{&faults};
  platform::sim::SimSystem system{&faults};
  platform::sim::SimDeviceInterfaces interfaces{&faults};
  platform::Platform platform;
  fw::headless::HeadlessWindowSystem windows;
  std::string filterLibrary;
  std::string monitorLibrary;
};

}  // namespace korven::testing
