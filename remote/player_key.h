// A key of a media player's own installation, opened below HKEY_LOCAL_MACHINE for reading
// only and closed when the object goes. Values are read the way the players' entries have
// always been read: into a 260-byte buffer, whatever their type.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/registry.h"

namespace korven {

class PlayerKey {
 public:
  static constexpr std::size_t kValueBufferSize = 260;
  static constexpr std::size_t kNameBufferSize = 261;

  PlayerKey(platform::Registry& registry, const char* path);
  PlayerKey(const PlayerKey&) = delete;
  PlayerKey& operator=(const PlayerKey&) = delete;
  ~PlayerKey() { Close(); }

  bool IsOpen() const { return key_ != platform::HKey::Null; }
  void Close();

  // The value as text, up to its first zero; a value that fills the buffer without a zero is
  // taken whole. Nothing when the value is absent or longer than the buffer.
  std::optional<std::string> ReadText(const char* name) const;
  // Name of subkey `index`; nothing past the last one.
  std::optional<std::string> SubkeyName(platform::Dword index) const;

 private:
  platform::Registry& registry_;
  platform::HKey key_ = platform::HKey::Null;
};

}  // namespace korven
