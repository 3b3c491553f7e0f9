// The bundle of platform services one program instance uses. The entry point (WinMain or a
// test fixture) fills it and hands it to the application's windows; nothing is global.
#pragma once

namespace platform {

class Registry;
class DeviceIo;
class Modules;
class CodePage;
class Mixer;
class Shell;
class Sound;
class System;
class DeviceInterfaces;

struct Platform {
  Registry* registry = nullptr;
  DeviceIo* device = nullptr;
  Modules* modules = nullptr;
  CodePage* codePage = nullptr;
  Mixer* mixer = nullptr;
  Shell* shell = nullptr;
  Sound* sound = nullptr;
  System* system = nullptr;
  // Host controllers beyond the legacy names; without it the USB walk knows only those.
  DeviceInterfaces* deviceInterfaces = nullptr;
};

}  // namespace platform
