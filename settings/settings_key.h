// One holder's handle on the Settings key (HKEY_LOCAL_MACHINE, class "Quenta", created when
// missing). Registry failures are never reported: a key that cannot be opened leaves every
// read missing and every write a no-op.
#pragma once

#include <string_view>

#include "platform/registry.h"
#include "settings/settings_values.h"

namespace korven {

class SettingsKey {
 public:
  explicit SettingsKey(platform::Registry& registry) : registry_(registry) {}
  SettingsKey(const SettingsKey&) = delete;
  SettingsKey& operator=(const SettingsKey&) = delete;
  ~SettingsKey() { Close(); }

  // Opens (creating) the key at `path` below HKEY_LOCAL_MACHINE: string 2 of the string table.
  void Open(std::string_view path);
  void Close();
  bool IsOpen() const { return key_ != platform::HKey::Null; }

  // Reads exactly 4 bytes without looking at the type; false when missing (absent, another
  // size, key not open).
  bool Read(const char* name, platform::Dword* value) const;
  // Reads; when missing, writes the default at once and returns it.
  platform::Dword ReadOrDefault(const settings::DwordValue& value) const;
  void WriteDword(const char* name, platform::Dword value) const;
  // REG_SZ with its terminating NUL.
  void WriteString(const char* name, std::string_view value) const;

  platform::HKey Handle() const { return key_; }

 private:
  platform::Registry& registry_;
  platform::HKey key_ = platform::HKey::Null;
};

}  // namespace korven
