// The KORVEN filter driver as the system sees it: the device path, and the fourteen private
// requests checked the way the driver checks them (known code, exact input and output
// lengths). It keeps the state the requests set, logs every request in order and lets a
// test load or unload the driver, unplug the device and make chosen requests fail.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "contract/korven_requests.h"
#include "platform/device_io.h"

namespace platform::sim {

class FaultPlan;

// One DeviceIoControl that reached the simulation, accepted or not.
struct DeviceRequest {
  Dword code = 0;
  std::vector<std::uint8_t> input;
  Dword outputSize = 0;
  Handle handle = kInvalidHandle;
  int handleNumber = 0;  // 1 for the first handle ever opened, 2 for the next ...; 0 unknown
  bool succeeded = false;
  Long error = error::kSuccess;  // the last-error value of a failed request
};

// One CreateFileA, opened or not.
struct DeviceOpen {
  std::string path;
  Dword access = 0;
  Dword share = 0;
  Dword disposition = 0;
  Dword flags = 0;
  bool succeeded = false;
};

enum class SpeakerLayout { Unknown, TwoOne, FiveOne };

// What the requests have set, as the driver holds it.
struct KorvenDeviceState {
  bool filterOn = false;
  SpeakerLayout layout = SpeakerLayout::Unknown;
  std::optional<KorvenBassModeRecord> bass;
  // Channel gains in request order: LFE, L, R, C, RL, RR.
  std::array<float, 6> gains{1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
  bool surroundRunning = false;
  int surroundStarts = 0;  // accepted IOCTL_SURROUND_START requests
};

class SimKorvenDevice : public DeviceIo {
 public:
  explicit SimKorvenDevice(FaultPlan* faults = nullptr) : faults_(faults) {}

  // DeviceIo
  Handle CreateFile(const char* path, Dword access, Dword share, Dword disposition,
                    Dword flags) override;
  bool DeviceIoControl(Handle device, Dword code, const void* in, Dword inSize, void* out,
                       Dword outSize, Dword* returned) override;
  bool CloseHandle(Handle handle) override;
  Dword GetLastError() override { return lastError_; }

  // Driver and device. Without the driver, or unplugged, every open fails with
  // ERROR_FILE_NOT_FOUND; unplugging also kills every handle open at that moment (their
  // requests fail with ERROR_DEVICE_NOT_CONNECTED, also after a replug; closing them works).
  void SetDriverLoaded(bool loaded) { driverLoaded_ = loaded; }
  void Unplug();
  void Replug() { plugged_ = true; }
  bool IsPlugged() const { return plugged_; }
  // The next `count` opens fail with ERROR_FILE_NOT_FOUND.
  void FailNextOpens(int count) { failOpens_ = count; }

  // Request failures (ERROR_GEN_FAILURE); a failed request changes no state.
  void FailNext(Dword code, int count = 1) { failNext_[code] += count; }
  void FailAlways(Dword code) { failAlways_[code] = true; }
  void FailAllRequests(bool fail) { failAll_ = fail; }
  void ClearFailures();

  // The answer to IOCTL_GET_SOURCE_CHANNELS.
  void SetSourceChannels(KorvenSourceChannelsReply reply) { reply_ = reply; }
  void SetSourceChannels(std::uint8_t multiChannel, std::uint8_t twoChannel) {
    reply_ = {multiChannel, twoChannel, {0, 0}};
  }

  const KorvenDeviceState& State() const { return state_; }
  // The gain a IOCTL_SET_GAIN_* code sets.
  float Gain(Dword gainCode) const;

  const std::vector<DeviceRequest>& Requests() const { return requests_; }
  // Codes of the logged requests, in order.
  std::vector<Dword> Codes() const;
  // Requests that were accepted, in order.
  std::vector<DeviceRequest> Accepted() const;
  void ClearRequests() { requests_.clear(); }
  // The request log as text, one request a line, for failure messages.
  std::string FormatLog() const;

  const std::vector<DeviceOpen>& Opens() const { return opens_; }
  void ClearOpens() { opens_.clear(); }
  int OpenHandleCount() const { return static_cast<int>(handles_.size()); }
  // Calls made with a handle that is closed, unknown or the invalid value.
  int InvalidHandleUses() const { return invalidHandleUses_; }

 private:
  struct OpenHandle {
    int number = 0;
    bool alive = true;
  };

  Handle NextHandle();
  bool Fail(Long error);
  bool InjectedFailure(Dword code);
  void Apply(Dword code, const std::uint8_t* in);

  FaultPlan* faults_;
  Dword lastError_ = 0;
  bool driverLoaded_ = true;
  bool plugged_ = true;
  int failOpens_ = 0;
  std::map<Dword, int> failNext_;
  std::map<Dword, bool> failAlways_;
  bool failAll_ = false;
  KorvenSourceChannelsReply reply_{0, 0, {0, 0}};
  KorvenDeviceState state_;
  std::map<Handle, OpenHandle> handles_;
  std::uintptr_t nextHandle_ = 0x2000;
  int opened_ = 0;
  std::vector<DeviceRequest> requests_;
  std::vector<DeviceOpen> opens_;
  int invalidHandleUses_ = 0;
};

// Name of a private request code ("IOCTL_SET_BASS_MODE"), or its hexadecimal value.
std::string RequestName(Dword code);
// One request as text: "IOCTL_SET_BASS_MODE 28 00 00 00 1B 00 00 00 43 00 00 00", with
// " out 4" for an output buffer and " FAILED 31" for a refused request.
std::string FormatRequest(const DeviceRequest& request);
std::string FormatRequests(const std::vector<DeviceRequest>& requests);

}  // namespace platform::sim
