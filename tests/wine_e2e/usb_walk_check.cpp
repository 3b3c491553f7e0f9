// Runs the program's own USB walk on the real platform calls and prints what it found:
// "found" or "not found". The end-to-end tests run it against the simulated host controller
// in each of its layouts.
#include <cstdio>

#include "device/usb_walk.h"
#include "platform/platform.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_device_io.h"

int main() {
  platform::win32::Win32DeviceIo device;
  platform::win32::Win32CodePage codePage;
  platform::Platform services;
  services.device = &device;
  services.codePage = &codePage;
  std::printf("%s\n", korven::FindDeviceOnUsb(services) ? "found" : "not found");
  return 0;
}
