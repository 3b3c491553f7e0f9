// Runs the program's own USB walk on the real platform calls and prints what it found:
// "found" or "not found". The end-to-end tests run it against the simulated host controllers
// in each of their layouts.
//   korven_usb_walk_check [--legacy-only] [--time RUNS]
// --legacy-only walks only "\\.\HCD0" to "\\.\HCD9", as without the system's device list;
// --time walks RUNS times more and prints the median and the fastest walk in milliseconds
// (the median, as other programs of the machine stretch single walks).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "device/usb_walk.h"
#include "platform/platform.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_device_interfaces.h"
#include "platform/win32/win32_device_io.h"

int main(int argc, char** argv) {
  bool legacyOnly = false;
  int runs = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--legacy-only") == 0) {
      legacyOnly = true;
    } else if (std::strcmp(argv[i], "--time") == 0 && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: korven_usb_walk_check [--legacy-only] [--time RUNS]\n");
      return 2;
    }
  }
  platform::win32::Win32DeviceIo device;
  platform::win32::Win32CodePage codePage;
  platform::win32::Win32DeviceInterfaces interfaces;
  platform::Platform services;
  services.device = &device;
  services.codePage = &codePage;
  services.deviceInterfaces = legacyOnly ? nullptr : &interfaces;
  std::printf("%s\n", korven::FindDeviceOnUsb(services) ? "found" : "not found");
  if (runs <= 0) return 0;

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    QueryPerformanceCounter(&start);
    korven::FindDeviceOnUsb(services);
    QueryPerformanceCounter(&end);
    ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                 static_cast<double>(frequency.QuadPart));
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%d walks: median %.3f ms, fastest %.3f ms\n", runs, ms[ms.size() / 2], ms[0]);
  return 0;
}
