#include "settings/settings_key.h"

#include <cstdint>
#include <string>

namespace korven {

namespace {

constexpr char kKeyClass[] = "Quenta";

}  // namespace

void SettingsKey::Open(std::string_view path) {
  Close();
  const std::string subKey(path);
  platform::HKey key = platform::HKey::Null;
  platform::Dword disposition = 0;
  const platform::Long result = registry_.CreateKeyEx(
      platform::HKey::LocalMachine, subKey.c_str(), kKeyClass, platform::reg::kOptionNonVolatile,
      platform::reg::kKeyAllAccess, &key, &disposition);
  key_ = result == platform::error::kSuccess ? key : platform::HKey::Null;
}

void SettingsKey::Close() {
  if (key_ == platform::HKey::Null) return;
  registry_.CloseKey(key_);
  key_ = platform::HKey::Null;
}

bool SettingsKey::Read(const char* name, platform::Dword* value) const {
  if (!IsOpen()) return false;
  std::uint8_t bytes[4] = {};
  platform::Dword size = sizeof(bytes);
  // A shorter value would leave part of the variable unset, so only exactly 4 bytes count.
  if (registry_.QueryValueEx(key_, name, nullptr, bytes, &size) != platform::error::kSuccess ||
      size != sizeof(bytes)) {
    return false;
  }
  *value = platform::Dword{bytes[0]} | platform::Dword{bytes[1]} << 8 |
           platform::Dword{bytes[2]} << 16 | platform::Dword{bytes[3]} << 24;
  return true;
}

platform::Dword SettingsKey::ReadOrDefault(const settings::DwordValue& value) const {
  platform::Dword stored = 0;
  if (Read(value.name, &stored)) return stored;
  WriteDword(value.name, value.defaultValue);
  return value.defaultValue;
}

void SettingsKey::WriteDword(const char* name, platform::Dword value) const {
  if (!IsOpen()) return;
  const std::uint8_t bytes[4] = {
      static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
      static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  registry_.SetValueEx(key_, name, platform::reg::kTypeDword, bytes, sizeof(bytes));
}

void SettingsKey::WriteString(const char* name, std::string_view value) const {
  if (!IsOpen()) return;
  const std::string text(value);  // brings the terminating NUL
  registry_.SetValueEx(key_, name, platform::reg::kTypeSz,
                       reinterpret_cast<const std::uint8_t*>(text.c_str()),
                       static_cast<platform::Dword>(text.size() + 1));
}

}  // namespace korven
