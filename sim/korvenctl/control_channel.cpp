#include "korvenctl/control_channel.h"

#include <cstring>

namespace korvenctl {

Channel::Channel(const char* path)
    : handle_(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, 0, nullptr)) {
  if (handle_ == INVALID_HANDLE_VALUE) openError_ = GetLastError();
}

Channel::~Channel() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

Answer Channel::Send(DWORD code, const std::vector<std::uint8_t>& input, DWORD outLength) const {
  Answer answer;
  std::vector<std::uint8_t> in = input;
  answer.output.assign(outLength, 0);
  DWORD returned = 0;
  answer.ok = DeviceIoControl(handle_, code, in.empty() ? nullptr : in.data(),
                              static_cast<DWORD>(in.size()),
                              answer.output.empty() ? nullptr : answer.output.data(), outLength,
                              &returned, nullptr) != FALSE;
  if (!answer.ok) {
    answer.error = GetLastError();
    answer.output.clear();
  } else {
    answer.output.resize(returned < outLength ? returned : outLength);
  }
  return answer;
}

bool ReadLog(const Channel& control, std::vector<KorvenSimLogEntry>& entries, DWORD& error) {
  constexpr DWORD kBatch = 256;
  constexpr DWORD kOutLength = sizeof(KorvenSimLogHeader) + kBatch * sizeof(KorvenSimLogEntry);
  entries.clear();
  std::uint32_t first = 0;
  for (;;) {
    Answer answer = control.Send(KORVENSIM_GET_LOG, BytesOf(first), kOutLength);
    if (!answer.ok || answer.output.size() < sizeof(KorvenSimLogHeader)) {
      error = answer.ok ? ERROR_INVALID_DATA : answer.error;
      return false;
    }
    KorvenSimLogHeader header;
    std::memcpy(&header, answer.output.data(), sizeof header);
    const std::uint8_t* at = answer.output.data() + sizeof header;
    for (std::uint32_t i = 0; i < header.count; ++i) {
      KorvenSimLogEntry entry;
      std::memcpy(&entry, at + i * sizeof entry, sizeof entry);
      entries.push_back(entry);
    }
    first = header.first + header.count;
    if (header.count == 0 || first >= header.next) return true;
  }
}

bool ReadState(const Channel& control, KorvenSimState& state, DWORD& error) {
  Answer answer = control.Send(KORVENSIM_GET_STATE, {}, sizeof state);
  if (!answer.ok || answer.output.size() != sizeof state) {
    error = answer.ok ? ERROR_INVALID_DATA : answer.error;
    return false;
  }
  std::memcpy(&state, answer.output.data(), sizeof state);
  return true;
}

}  // namespace korvenctl
