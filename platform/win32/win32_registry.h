// The registry seam on the real advapi32 calls.
#pragma once

#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry : public Registry {
 public:
  Long CreateKeyEx(HKey root, const char* subKey, const char* keyClass, Dword options, Dword access,
                   HKey* result, Dword* disposition) override;
  Long OpenKeyEx(HKey root, const char* subKey, Dword access, HKey* result) override;
  Long QueryValueEx(HKey key, const char* name, Dword* type, std::uint8_t* data,
                    Dword* size) override;
  Long SetValueEx(HKey key, const char* name, Dword type, const std::uint8_t* data,
                  Dword size) override;
  Long EnumKey(HKey key, Dword index, char* name, Dword nameSize) override;
  Long CloseKey(HKey key) override;
};

}  // namespace platform::win32
