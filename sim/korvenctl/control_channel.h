// The two ways into the simulated KORVEN: its device path, opened as the program opens it,
// and the simulation's control path for the private test requests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "korvensim_ioctl.h"

namespace korvenctl {

// One request's outcome: the platform's answer and the bytes it returned.
struct Answer {
  bool ok = false;
  DWORD error = 0;  // the last-error value when !ok
  std::vector<std::uint8_t> output;
};

class Channel {
 public:
  // Opens `path` read/write, shared read/write, existing only; check IsOpen().
  explicit Channel(const char* path);
  ~Channel();
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  DWORD OpenError() const { return openError_; }
  Answer Send(DWORD code, const std::vector<std::uint8_t>& input, DWORD outLength) const;

 private:
  HANDLE handle_;
  DWORD openError_ = 0;
};

// Every entry still in the driver's log, from the first kept one on.
bool ReadLog(const Channel& control, std::vector<KorvenSimLogEntry>& entries, DWORD& error);
bool ReadState(const Channel& control, KorvenSimState& state, DWORD& error);

template <class Record>
std::vector<std::uint8_t> BytesOf(const Record& record) {
  const auto* at = reinterpret_cast<const std::uint8_t*>(&record);
  return std::vector<std::uint8_t>(at, at + sizeof record);
}

}  // namespace korvenctl
