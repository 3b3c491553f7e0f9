// Entry of korven.exe: chooses the real window system and platform seams and runs the
// application on them.
#include "framework/win32/win32_window_system.h"
#include "framework/win32/windows_api.h"
#include "platform/platform.h"
#include "platform/win32/win32_code_page.h"
#include "platform/win32/win32_device_interfaces.h"
#include "platform/win32/win32_device_io.h"
#include "platform/win32/win32_mixer.h"
#include "platform/win32/win32_modules.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_sound.h"
#include "platform/win32/win32_system.h"
#include "shell/control_panel_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  fw::win32::Win32WindowSystem windows(instance);
  platform::win32::Win32Registry registry;
  platform::win32::Win32DeviceIo device;
  platform::win32::Win32Modules modules;
  platform::win32::Win32CodePage codePage;
  platform::win32::Win32Mixer mixer;
  platform::win32::Win32Shell shell;
  platform::win32::Win32Sound sound(instance);
  platform::win32::Win32System system;
  platform::win32::Win32DeviceInterfaces deviceInterfaces;
  platform::Platform services;
  services.registry = &registry;
  services.device = &device;
  services.modules = &modules;
  services.codePage = &codePage;
  services.mixer = &mixer;
  services.shell = &shell;
  services.sound = &sound;
  services.system = &system;
  services.deviceInterfaces = &deviceInterfaces;

  korven::CControlPanelApp app(windows, services);
  return app.Run();
}
