// Sound seam on winmm.
#pragma once

#include "platform/sound.h"

namespace platform::win32 {

class Win32Sound : public Sound {
 public:
  // `module` holds the WAVE resources; null is the program.
  explicit Win32Sound(void* module = nullptr);

  bool PlayResource(int resourceId, bool loop) override;
  bool Purge() override;
  const void* LoadWave(int resourceId) override;
  bool PlayMemoryLoop(const void* image) override;
  bool StopMemory() override;
  Dword TimeGetTime() override;

 private:
  void* module_;
};

}  // namespace platform::win32
