// A simulated machine for the presence test: a USB tree, the KORVEN's own device path behind
// one router, the companion libraries beside the program, and a headless screen.
#pragma once

#include <cstdint>
#include <string>

#include "framework/headless/headless_window_system.h"
#include "platform/platform.h"
#include "platform/sim/fault_plan.h"
#include "platform/sim/sim_code_page.h"
#include "platform/sim/sim_device_interfaces.h"
#include "platform/sim/sim_device_router.h"
#include "platform/sim/sim_korven_device.h"
#include "platform/sim/sim_modules.h"
#include "platform/sim/sim_usb_tree.h"
#include "platform/usb_ioctl.h"

namespace korven::testing {

// The KORVEN's vendor id in plain form and one id of each product family.
inline constexpr std::uint16_t kKorvenVendor = 0x2B4D;
inline constexpr std::uint16_t kKorvenProduct = 0x1603;

struct UsbTestMachine {
  UsbTestMachine() {
    services.device = &router;
    services.modules = &modules;
    services.codePage = &codePage;
    services.deviceInterfaces = &interfaces;
  }

  // Host controller `number` with a root hub of `ports` ports named `rootHub`.
  void AddController(int number, const std::string& rootHub, int ports = 4) {
    usb.AddHostController(number, rootHub);
    usb.AddHub(rootHub, ports);
  }

  // A host controller known only by its interface's device path in the system's list.
  void AddListedController(const std::string& path, const std::string& rootHub, int ports = 4) {
    usb.AddInterfaceHostController(path, rootHub);
    usb.AddHub(rootHub, ports);
    interfaces.Add(platform::usb::kHostControllerInterface, path);
  }

  // Every USB and library handle given back.
  bool AllHandlesClosed() const {
    return usb.OpenHandleCount() == 0 && usb.InvalidHandleUses() == 0 &&
           korven.OpenHandleCount() == 0 && modules.LoadedCount() == 0 &&
           modules.InvalidUses() == 0 && interfaces.OpenListCount() == 0 &&
           interfaces.InvalidListUses() == 0;
  }

  platform::sim::FaultPlan faults;
  platform::sim::SimUsbTree usb{&faults};
  platform::sim::SimKorvenDevice korven{&faults};
  platform::sim::SimDeviceRouter router{korven, usb};
  platform::sim::SimModules modules{&faults};
  platform::sim::SimCodePage codePage{&faults};
  platform::sim::SimDeviceInterfaces interfaces{&faults};
  platform::Platform services;
  fw::headless::HeadlessWindowSystem windows;
};

}  // namespace korven::testing
