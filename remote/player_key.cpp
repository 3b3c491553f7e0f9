#include "remote/player_key.h"

#include <algorithm>
#include <cstdint>

namespace korven {

PlayerKey::PlayerKey(platform::Registry& registry, const char* path) : registry_(registry) {
  platform::HKey key = platform::HKey::Null;
  if (registry_.OpenKeyEx(platform::HKey::LocalMachine, path, platform::reg::kKeyRead, &key) ==
      platform::error::kSuccess) {
    key_ = key;
  }
}

void PlayerKey::Close() {
  if (!IsOpen()) return;
  registry_.CloseKey(key_);
  key_ = platform::HKey::Null;
}

std::optional<std::string> PlayerKey::ReadText(const char* name) const {
  if (!IsOpen()) return std::nullopt;
  std::uint8_t buffer[kValueBufferSize] = {};
  platform::Dword size = sizeof buffer;
  if (registry_.QueryValueEx(key_, name, nullptr, buffer, &size) != platform::error::kSuccess) {
    return std::nullopt;
  }
  // Only the bytes the call wrote count, and a missing terminating zero is no reason to read on.
  const auto* begin = reinterpret_cast<const char*>(buffer);
  const auto* end = begin + std::min<std::size_t>(size, sizeof buffer);
  return std::string(begin, std::find(begin, end, '\0'));
}

std::optional<std::string> PlayerKey::SubkeyName(platform::Dword index) const {
  if (!IsOpen()) return std::nullopt;
  char name[kNameBufferSize] = {};
  if (registry_.EnumKey(key_, index, name, sizeof name) != platform::error::kSuccess) {
    return std::nullopt;
  }
  name[sizeof name - 1] = '\0';
  return std::string(name);
}

}  // namespace korven
