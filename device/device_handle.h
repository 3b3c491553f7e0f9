// A Device handle: one holder's own handle on the device path, or not open. Every request
// made while it is not open is skipped.
#pragma once

#include "platform/device_io.h"

namespace korven {

class DeviceHandle {
 public:
  explicit DeviceHandle(platform::DeviceIo& io) : io_(io) {}
  DeviceHandle(const DeviceHandle&) = delete;
  DeviceHandle& operator=(const DeviceHandle&) = delete;
  ~DeviceHandle() { Close(); }

  // Opens the device path (read/write, shared read/write, existing only). A failed open
  // leaves the handle not open. Returns IsOpen().
  bool Open();
  // Closes the handle when it is open.
  void Close();
  bool IsOpen() const { return handle_ != platform::kInvalidHandle; }
  platform::DeviceIo& Io() const { return io_; }

  // Sends one request and waits for it; false when it fails or the handle is not open.
  bool Send(platform::Dword code, const void* in, platform::Dword inSize, void* out,
            platform::Dword outSize, platform::Dword* bytesReturned);
  bool Send(platform::Dword code, platform::Dword* bytesReturned) {
    return Send(code, nullptr, 0, nullptr, 0, bytesReturned);
  }
  template <class Input>
  bool SendInput(platform::Dword code, const Input& input, platform::Dword* bytesReturned) {
    return Send(code, &input, sizeof(Input), nullptr, 0, bytesReturned);
  }

 private:
  platform::DeviceIo& io_;
  platform::Handle handle_ = platform::kInvalidHandle;
};

}  // namespace korven
