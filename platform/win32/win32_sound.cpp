#include "platform/win32/win32_sound.h"

#include "platform/win32/windows_headers.h"
// windows.h must come first.
#include <mmsystem.h>

namespace platform::win32 {

Win32Sound::Win32Sound(void* module)
    : module_(module != nullptr ? module : GetModuleHandleA(nullptr)) {}

bool Win32Sound::PlayResource(int resourceId, bool loop) {
  DWORD flags = SND_RESOURCE | SND_ASYNC;
  if (loop) flags |= SND_LOOP;
  return PlaySoundA(MAKEINTRESOURCEA(resourceId), static_cast<HMODULE>(module_), flags) != FALSE;
}

bool Win32Sound::Purge() {
  return PlaySoundA(nullptr, nullptr, SND_PURGE) != FALSE;
}

const void* Win32Sound::LoadWave(int resourceId) {
  auto module = static_cast<HMODULE>(module_);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), "WAVE");
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  return loaded != nullptr ? LockResource(loaded) : nullptr;
}

bool Win32Sound::PlayMemoryLoop(const void* image) {
  if (image == nullptr) return false;  // a null image would mean "stop"
  return sndPlaySoundA(static_cast<LPCSTR>(image),
                       SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP) != FALSE;
}

bool Win32Sound::StopMemory() {
  return sndPlaySoundA(nullptr, 0) != FALSE;
}

Dword Win32Sound::TimeGetTime() {
  return timeGetTime();
}

}  // namespace platform::win32
