// Registry seam: the handful of advapi32 calls the system makes, with their own result codes.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

namespace platform {

// Registry key handle. The predefined roots carry their 32-bit values; the Win32 seam maps
// them onto the real predefined handles (which are sign-extended on 64-bit Windows).
enum class HKey : std::uintptr_t {
  Null = 0,
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
};

namespace reg {
inline constexpr Dword kTypeNone = 0;
inline constexpr Dword kTypeSz = 1;
inline constexpr Dword kTypeExpandSz = 2;
inline constexpr Dword kTypeBinary = 3;
inline constexpr Dword kTypeDword = 4;
inline constexpr Dword kTypeMultiSz = 7;
inline constexpr Dword kTypeQword = 11;

inline constexpr Dword kOptionNonVolatile = 0;
inline constexpr Dword kKeyAllAccess = 0xF003F;
inline constexpr Dword kKeyRead = 0x20019;
inline constexpr Dword kKeyQueryValue = 0x0001;

inline constexpr Dword kCreatedNewKey = 1;
inline constexpr Dword kOpenedExistingKey = 2;
}  // namespace reg

class Registry {
 public:
  virtual ~Registry() = default;

  // RegCreateKeyExA: opens or creates `subKey` (and its missing parents) below `root`.
  // `disposition` may be null.
  virtual Long CreateKeyEx(HKey root, const char* subKey, const char* keyClass, Dword options,
                           Dword access, HKey* result, Dword* disposition) = 0;
  // RegOpenKeyExA: opens an existing key.
  virtual Long OpenKeyEx(HKey root, const char* subKey, Dword access, HKey* result) = 0;
  // RegQueryValueExA: `type` and `data` may be null; `size` in/out. A value longer than
  // `*size` fails with error::kMoreData and `*size` set to the needed length.
  virtual Long QueryValueEx(HKey key, const char* name, Dword* type, std::uint8_t* data,
                            Dword* size) = 0;
  // RegSetValueExA.
  virtual Long SetValueEx(HKey key, const char* name, Dword type, const std::uint8_t* data,
                          Dword size) = 0;
  // RegEnumKeyA: name of subkey `index` into `name` (a buffer of `nameSize` bytes);
  // error::kNoMoreItems past the last one.
  virtual Long EnumKey(HKey key, Dword index, char* name, Dword nameSize) = 0;
  // RegCloseKey.
  virtual Long CloseKey(HKey key) = 0;
};

}  // namespace platform
