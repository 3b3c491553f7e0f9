#include "platform/win32/win32_registry.h"

#include "platform/win32/windows_headers.h"

namespace platform::win32 {

namespace {

// The predefined roots are sign-extended on 64-bit Windows, so they are mapped by name
// rather than by value; every other key is the handle the system gave us.
HKEY ToHkey(HKey key) {
  switch (key) {
    case HKey::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case HKey::CurrentUser:
      return HKEY_CURRENT_USER;
    case HKey::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case HKey::Users:
      return HKEY_USERS;
    case HKey::Null:
      break;
  }
  return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
}

HKey FromHkey(HKEY key) {
  return static_cast<HKey>(reinterpret_cast<std::uintptr_t>(key));
}

}  // namespace

Long Win32Registry::CreateKeyEx(HKey root, const char* subKey, const char* keyClass, Dword options,
                                Dword access, HKey* result, Dword* disposition) {
  HKEY key = nullptr;
  DWORD created = 0;
  const LONG status = RegCreateKeyExA(ToHkey(root), subKey, 0, const_cast<char*>(keyClass), options,
                                      access, nullptr, &key, &created);
  *result = status == ERROR_SUCCESS ? FromHkey(key) : HKey::Null;
  if (disposition != nullptr) *disposition = created;
  return status;
}

Long Win32Registry::OpenKeyEx(HKey root, const char* subKey, Dword access, HKey* result) {
  HKEY key = nullptr;
  const LONG status = RegOpenKeyExA(ToHkey(root), subKey, 0, access, &key);
  *result = status == ERROR_SUCCESS ? FromHkey(key) : HKey::Null;
  return status;
}

Long Win32Registry::QueryValueEx(HKey key, const char* name, Dword* type, std::uint8_t* data,
                                 Dword* size) {
  // DWORD and Dword differ in type (not in size) on some compilers, so copy rather than alias.
  DWORD nativeType = 0;
  DWORD nativeSize = size != nullptr ? *size : 0;
  const LONG status =
      RegQueryValueExA(ToHkey(key), name, nullptr, type != nullptr ? &nativeType : nullptr, data,
                       size != nullptr ? &nativeSize : nullptr);
  if (type != nullptr) *type = nativeType;
  if (size != nullptr) *size = nativeSize;
  return status;
}

Long Win32Registry::SetValueEx(HKey key, const char* name, Dword type, const std::uint8_t* data,
                               Dword size) {
  return RegSetValueExA(ToHkey(key), name, 0, type, data, size);
}

Long Win32Registry::EnumKey(HKey key, Dword index, char* name, Dword nameSize) {
  return RegEnumKeyA(ToHkey(key), index, name, nameSize);
}

Long Win32Registry::CloseKey(HKey key) {
  return RegCloseKey(ToHkey(key));
}

}  // namespace platform::win32
