// Sound seam: the winmm calls that play the program's test sounds (PlaySoundA,
// sndPlaySoundA) and its millisecond clock (timeGetTime). Sounds play asynchronously; the
// program plays one at a time, a new one replacing the one playing.
#pragma once

#include "platform/win_types.h"

namespace platform {

class Sound {
 public:
  virtual ~Sound() = default;

  // PlaySoundA with a WAVE resource of the program: SND_RESOURCE | SND_ASYNC, with SND_LOOP
  // when `loop`.
  virtual bool PlayResource(int resourceId, bool loop) = 0;
  // PlaySoundA(NULL, NULL, SND_PURGE): every sound the program started stops.
  virtual bool Purge() = 0;
  // The file image of a WAVE resource of the program (FindResourceA, LoadResource,
  // LockResource), valid for the whole run; null when absent.
  virtual const void* LoadWave(int resourceId) = 0;
  // sndPlaySoundA with a file image in memory: SND_ASYNC | SND_NODEFAULT | SND_MEMORY |
  // SND_LOOP, so a clip that cannot play plays nothing at all.
  virtual bool PlayMemoryLoop(const void* image) = 0;
  // sndPlaySoundA(NULL, 0): the clip playing stops.
  virtual bool StopMemory() = 0;
  // timeGetTime: milliseconds, 32-bit, wrapping.
  virtual Dword TimeGetTime() = 0;
};

}  // namespace platform
