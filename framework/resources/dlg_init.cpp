#include "framework/resources/dlg_init.h"

#include <algorithm>

#include "framework/resources/byte_reader.h"

namespace fw::res {

std::string DlgInitRecord::Text() const {
  return std::string(data.begin(), std::find(data.begin(), data.end(), std::uint8_t{0}));
}

std::optional<std::vector<DlgInitRecord>> ParseDlgInit(std::span<const std::uint8_t> data) {
  ByteReader r(data);
  std::vector<DlgInitRecord> records;
  for (;;) {
    DlgInitRecord record;
    record.controlId = r.U16();
    if (!r.Ok()) return std::nullopt;
    if (record.controlId == 0) return records;
    record.message = r.U16();
    std::span<const std::uint8_t> bytes = r.Bytes(r.U32());
    if (!r.Ok()) return std::nullopt;
    record.data.assign(bytes.begin(), bytes.end());
    records.push_back(std::move(record));
  }
}

}  // namespace fw::res
