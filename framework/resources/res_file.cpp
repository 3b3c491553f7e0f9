#include "framework/resources/res_file.h"

#include <algorithm>

#include "framework/resources/byte_reader.h"

namespace fw::res {
namespace {

// DataSize, HeaderSize, two ordinals, DataVersion, MemoryFlags, LanguageId, Version,
// Characteristics.
constexpr std::size_t kEmptyHeaderSize = 32;
constexpr unsigned kStringsPerBlock = 16;

struct RawEntry {
  ResourceEntry entry;
  std::size_t next = 0;  // offset of the following entry
};

// Reads the entry at `offset`: its header is parsed inside its own HeaderSize bytes and its
// data must lie wholly inside the file.
std::optional<RawEntry> ReadEntry(std::span<const std::uint8_t> file, std::size_t offset) {
  ByteReader sizes(file.subspan(offset));
  std::uint32_t dataSize = sizes.U32();
  std::uint32_t headerSize = sizes.U32();
  if (!sizes.Ok() || headerSize > file.size() - offset) return std::nullopt;

  ByteReader header(file.subspan(offset, headerSize));
  header.Skip(8);
  RawEntry raw;
  raw.entry.type = ReadNameOrOrdinal(header);
  raw.entry.name = ReadNameOrOrdinal(header);
  header.AlignTo4();
  header.U32();  // DataVersion
  header.U16();  // MemoryFlags
  raw.entry.language = header.U16();
  header.U32();  // Version
  header.U32();  // Characteristics
  if (!header.Ok()) return std::nullopt;

  std::size_t dataStart = offset + headerSize;
  if (dataSize > file.size() - dataStart) return std::nullopt;
  raw.entry.data = file.subspan(dataStart, dataSize);
  // The data is padded to a DWORD boundary, the padding included in the file.
  std::size_t end = dataStart + dataSize;
  raw.next = end + (4 - end % 4) % 4;
  if (raw.next > file.size()) return std::nullopt;
  return raw;
}

bool IsEmptyEntry(const ResourceEntry& e) {
  return e.type == ResourceId::Number(0) && e.name == ResourceId::Number(0) && e.data.empty();
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Resource names are looked up without regard to case, as the loader does.
bool SameId(const ResourceId& a, const ResourceId& b) {
  if (a.isNumber || b.isNumber) return a.isNumber == b.isNumber && a.number == b.number;
  return std::ranges::equal(a.name, b.name, {}, Upper, Upper);
}

}  // namespace

std::optional<ResFile> ResFile::Parse(std::span<const std::uint8_t> bytes) {
  // A .res image starts with an empty entry that marks it as a 32-bit resource file.
  std::optional<RawEntry> first = ReadEntry(bytes, 0);
  if (!first || first->next != kEmptyHeaderSize || !IsEmptyEntry(first->entry)) {
    return std::nullopt;
  }
  ResFile file;
  for (std::size_t offset = first->next; offset < bytes.size();) {
    std::optional<RawEntry> raw = ReadEntry(bytes, offset);
    if (!raw) return std::nullopt;
    file.entries_.push_back(raw->entry);
    offset = raw->next;
  }
  return file;
}

const ResourceEntry* ResFile::Find(const ResourceId& type, const ResourceId& name) const {
  for (const ResourceEntry& e : entries_) {
    if (SameId(e.type, type) && SameId(e.name, name)) return &e;
  }
  return nullptr;
}

std::optional<std::string> ResFile::FindString(unsigned id) const {
  if (id > 0xFFFF) return std::nullopt;
  // Strings are stored in blocks of sixteen; block n holds ids (n-1)*16 .. (n-1)*16+15, each as
  // a length-prefixed UTF-16 string (length 0 when the id is unused).
  const ResourceEntry* block =
      Find(ResourceId::Number(kTypeString),
           ResourceId::Number(static_cast<std::uint16_t>(id / kStringsPerBlock + 1)));
  if (block == nullptr) return std::nullopt;
  ByteReader r(block->data);
  for (unsigned i = 0; i < id % kStringsPerBlock; ++i) r.Skip(std::size_t{r.U16()} * 2);
  std::vector<std::uint16_t> text = r.Utf16(r.U16());
  if (!r.Ok() || text.empty()) return std::nullopt;
  return AnsiFromUtf16(text);
}

}  // namespace fw::res
