// Reader of the compiled resource format (windres/rc .res output): a sequence of entries,
// each with a type, a name (number or string), a language and its data. Every read is
// bounds-checked; a malformed file yields nothing rather than reading past its end.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fw::res {

// Standard resource types.
inline constexpr std::uint16_t kTypeCursor = 1;
inline constexpr std::uint16_t kTypeBitmap = 2;
inline constexpr std::uint16_t kTypeIcon = 3;
inline constexpr std::uint16_t kTypeMenu = 4;
inline constexpr std::uint16_t kTypeDialog = 5;
inline constexpr std::uint16_t kTypeString = 6;
inline constexpr std::uint16_t kTypeRcData = 10;
inline constexpr std::uint16_t kTypeGroupIcon = 14;
inline constexpr std::uint16_t kTypeVersion = 16;
inline constexpr std::uint16_t kTypeDlgInit = 240;
inline constexpr std::uint16_t kTypeManifest = 24;

// A resource type or name: a number, or a string (upper-cased by the resource compiler).
struct ResourceId {
  bool isNumber = true;
  std::uint16_t number = 0;
  std::string name;  // ANSI
  static ResourceId Number(std::uint16_t n) { return {true, n, {}}; }
  static ResourceId Name(std::string s) { return {false, 0, std::move(s)}; }
  bool operator==(const ResourceId&) const = default;
};

struct ResourceEntry {
  ResourceId type;
  ResourceId name;
  std::uint16_t language = 0;
  std::span<const std::uint8_t> data;  // points into the file's bytes
};

class ResFile {
 public:
  // Parses a whole .res image; nullopt when it is malformed. The bytes must outlive it.
  static std::optional<ResFile> Parse(std::span<const std::uint8_t> bytes);

  const std::vector<ResourceEntry>& Entries() const { return entries_; }
  // First entry of that type and name, any language; null when absent.
  const ResourceEntry* Find(const ResourceId& type, const ResourceId& name) const;
  // String `id` of the string table (ANSI, code page 1252); nullopt when absent.
  std::optional<std::string> FindString(unsigned id) const;

 private:
  std::vector<ResourceEntry> entries_;
};

// UTF-16LE to the ANSI code page (1252); characters outside it become '?'.
std::string AnsiFromUtf16(std::span<const std::uint16_t> text);

}  // namespace fw::res
