#include "platform/sim/sim_korven_device.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/sim/fault_plan.h"

namespace platform::sim {

namespace {

#define KORVEN_REQUEST_CONSTANT(name, function, in, out) name = KORVEN_REQUEST_CODE(function),
enum : Dword { KORVEN_REQUESTS(KORVEN_REQUEST_CONSTANT) };
#undef KORVEN_REQUEST_CONSTANT

std::int32_t ReadInt32(const std::uint8_t* bytes) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | bytes[i];
  return static_cast<std::int32_t>(v);
}

}  // namespace

Handle SimKorvenDevice::NextHandle() {
  const auto handle = static_cast<Handle>(nextHandle_);
  nextHandle_ += 4;
  return handle;
}

Handle SimKorvenDevice::CreateFile(const char* path, Dword access, Dword share, Dword disposition,
                                   Dword flags) {
  DeviceOpen open{path != nullptr ? path : "", access, share, disposition, flags, false};
  const bool faulted = faults_ != nullptr && faults_->Fails("CreateFileA");
  const bool ours = open.path == KORVEN_DEVICE_PATH;
  bool refused = false;
  if (ours && failOpens_ > 0) {
    --failOpens_;
    refused = true;
  }
  if (faulted || !ours || !driverLoaded_ || !plugged_ || refused) {
    opens_.push_back(open);
    lastError_ = error::kFileNotFound;
    return kInvalidHandle;
  }
  open.succeeded = true;
  opens_.push_back(open);
  const Handle handle = NextHandle();
  handles_[handle] = OpenHandle{++opened_, true};
  return handle;
}

bool SimKorvenDevice::Fail(Long error) {
  lastError_ = static_cast<Dword>(error);
  requests_.back().error = error;
  return false;
}

bool SimKorvenDevice::InjectedFailure(Dword code) {
  if (faults_ != nullptr && faults_->Fails("DeviceIoControl")) return true;
  if (failAll_ || failAlways_[code]) return true;
  auto it = failNext_.find(code);
  if (it != failNext_.end() && it->second > 0) {
    --it->second;
    return true;
  }
  return false;
}

bool SimKorvenDevice::DeviceIoControl(Handle device, Dword code, const void* in, Dword inSize,
                                      void* out, Dword outSize, Dword* returned) {
  DeviceRequest request;
  request.code = code;
  request.handle = device;
  request.outputSize = outSize;
  if (in != nullptr) {
    const auto* bytes = static_cast<const std::uint8_t*>(in);
    request.input.assign(bytes, bytes + inSize);
  }
  auto open = handles_.find(device);
  if (open != handles_.end()) request.handleNumber = open->second.number;
  requests_.push_back(std::move(request));
  if (returned != nullptr) *returned = 0;

  if (open == handles_.end()) {
    ++invalidHandleUses_;
    return Fail(error::kInvalidHandle);
  }
  if (returned == nullptr) return Fail(error::kInvalidParameter);
  if (!open->second.alive) return Fail(error::kDeviceNotConnected);
  const KorvenRequestShape* shape = KorvenFindRequest(code);
  if (shape == nullptr) return Fail(error::kInvalidFunction);
  if (inSize != shape->inputSize || (inSize != 0 && in == nullptr) ||
      outSize != shape->outputSize || (outSize != 0 && out == nullptr)) {
    return Fail(error::kInvalidParameter);
  }
  if (InjectedFailure(code)) return Fail(error::kGenFailure);

  Apply(code, static_cast<const std::uint8_t*>(in));
  if (code == IOCTL_GET_SOURCE_CHANNELS) {
    std::memcpy(out, &reply_, sizeof(reply_));
    *returned = sizeof(reply_);
  }
  requests_.back().succeeded = true;
  return true;
}

void SimKorvenDevice::Apply(Dword code, const std::uint8_t* in) {
  if (const int gain = KorvenGainIndex(code); gain >= 0) {
    std::memcpy(&state_.gains[static_cast<std::size_t>(gain)], in, sizeof(float));
    return;
  }
  switch (code) {
    case IOCTL_FILTER_ON:
      state_.filterOn = true;
      break;
    case IOCTL_FILTER_OFF:
      state_.filterOn = false;
      break;
    case IOCTL_OUTPUT_5_1:
      state_.layout = SpeakerLayout::FiveOne;
      break;
    case IOCTL_OUTPUT_2_1:
      state_.layout = SpeakerLayout::TwoOne;
      break;
    case IOCTL_SURROUND_START:
      state_.surroundRunning = true;
      ++state_.surroundStarts;
      break;
    case IOCTL_SURROUND_STOP:
      state_.surroundRunning = false;
      break;
    case IOCTL_SET_BASS_MODE:
      state_.bass = KorvenBassModeRecord{ReadInt32(in), ReadInt32(in + 4), ReadInt32(in + 8)};
      break;
    default:
      break;
  }
}

bool SimKorvenDevice::CloseHandle(Handle handle) {
  if (handles_.erase(handle) == 0) {
    ++invalidHandleUses_;
    lastError_ = error::kInvalidHandle;
    return false;
  }
  return true;
}

void SimKorvenDevice::Unplug() {
  plugged_ = false;
  for (auto& [handle, open] : handles_) open.alive = false;
}

void SimKorvenDevice::ClearFailures() {
  failOpens_ = 0;
  failNext_.clear();
  failAlways_.clear();
  failAll_ = false;
}

float SimKorvenDevice::Gain(Dword gainCode) const {
  const int index = KorvenGainIndex(gainCode);
  return index < 0 ? 0.0f : state_.gains[static_cast<std::size_t>(index)];
}

std::vector<Dword> SimKorvenDevice::Codes() const {
  std::vector<Dword> codes;
  for (const auto& request : requests_) codes.push_back(request.code);
  return codes;
}

std::vector<DeviceRequest> SimKorvenDevice::Accepted() const {
  std::vector<DeviceRequest> accepted;
  for (const auto& request : requests_) {
    if (request.succeeded) accepted.push_back(request);
  }
  return accepted;
}

std::string SimKorvenDevice::FormatLog() const {
  return FormatRequests(requests_);
}

std::string RequestName(Dword code) {
  if (const KorvenRequestShape* shape = KorvenFindRequest(code)) return shape->name;
  char text[16];
  std::snprintf(text, sizeof(text), "0x%06X", static_cast<unsigned>(code));
  return text;
}

std::string FormatRequest(const DeviceRequest& request) {
  std::string line = RequestName(request.code);
  char text[16];
  for (std::uint8_t byte : request.input) {
    std::snprintf(text, sizeof(text), " %02X", byte);
    line += text;
  }
  if (request.outputSize != 0) line += " out " + std::to_string(request.outputSize);
  if (!request.succeeded) line += " FAILED " + std::to_string(request.error);
  return line;
}

std::string FormatRequests(const std::vector<DeviceRequest>& requests) {
  std::string text;
  for (const auto& request : requests) text += FormatRequest(request) + "\n";
  return text;
}

}  // namespace platform::sim
