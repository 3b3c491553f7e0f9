// The bundle of platform services one program instance uses. The entry point (WinMain or a
// test fixture) fills it and hands it to the application's windows; nothing is global.
#pragma once

namespace platform {

class Registry;
class DeviceIo;

struct Platform {
  Registry* registry = nullptr;
  DeviceIo* device = nullptr;
};

}  // namespace platform
