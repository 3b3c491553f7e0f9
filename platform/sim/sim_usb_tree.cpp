#include "platform/sim/sim_usb_tree.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/sim/fault_plan.h"
#include "platform/usb_ioctl.h"

namespace platform::sim {
namespace {

namespace root = usb::root_hub_name;
namespace node = usb::node_information;
namespace info = usb::connection_information;
namespace cname = usb::connection_name;

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

void Put16(std::uint8_t* at, std::uint16_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, Dword value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Dword Get32(const std::uint8_t* at) {
  return Dword{at[0]} | (Dword{at[1]} << 8) | (Dword{at[2]} << 16) | (Dword{at[3]} << 24);
}

// A name record: the true length unless a reported one is queued, and the wide name with
// its terminating zero copied after the header as far as the buffer reaches.
Dword WriteName(const std::string& name, std::size_t header, std::size_t lengthAt,
                std::vector<Dword>& reported, std::uint8_t* out, Dword outSize) {
  std::vector<std::uint8_t> wide;
  for (char c : name) {
    wide.push_back(static_cast<std::uint8_t>(c));
    wide.push_back(0);
  }
  wide.push_back(0);
  wide.push_back(0);
  Dword actual = static_cast<Dword>(header + wide.size());
  if (!reported.empty()) {
    actual = reported.front();
    if (reported.size() > 1) reported.erase(reported.begin());
  }
  Put32(out + lengthAt, actual);
  std::size_t room = outSize - header;
  std::size_t copied = std::min(room, wide.size());
  std::memcpy(out + header, wide.data(), copied);
  return static_cast<Dword>(header + copied);
}

// "\\.\HCD<n>", lower case.
std::string LegacyControllerKey(int number) {
  return Lower(usb::kDevicePrefix) + "hcd" + std::to_string(number);
}

// The hub name in "\\.\<name>", or empty.
std::string HubKey(std::string_view path) {
  constexpr std::string_view kPrefix = usb::kDevicePrefix;
  if (path.size() <= kPrefix.size() || path.substr(0, kPrefix.size()) != kPrefix) return {};
  return Lower(path.substr(kPrefix.size()));
}

}  // namespace

Handle SimUsbTree::CreateFile(const char* path, Dword access, Dword share, Dword disposition,
                              Dword /*flags*/) {
  std::string given = path != nullptr ? path : "";
  opens_.push_back({given, access, share, disposition, false});
  if (Fail("CreateFileA", error::kFileNotFound)) return kInvalidHandle;
  OpenHandle open{given, {}, {}};
  bool exists = false;
  if (controllers_.count(Lower(given)) != 0) {
    open.controllerKey = Lower(given);
    exists = true;
  } else {
    open.hubKey = HubKey(given);
    auto hub = hubs_.find(open.hubKey);
    exists = hub != hubs_.end() && hub->second.added;
  }
  bool refused =
      std::find(failingOpens_.begin(), failingOpens_.end(), Lower(given)) != failingOpens_.end();
  if (!exists || refused || disposition != file::kOpenExisting) {
    lastError_ = static_cast<Dword>(error::kFileNotFound);
    return kInvalidHandle;
  }
  Handle handle = static_cast<Handle>(nextHandle_);
  nextHandle_ += 4;
  handles_[handle] = std::move(open);
  opens_.back().succeeded = true;
  return handle;
}

bool SimUsbTree::DeviceIoControl(Handle device, Dword code, const void* in, Dword inSize, void* out,
                                 Dword outSize, Dword* returned) {
  UsbRequest logged{{}, code, {}, outSize, false};
  if (in != nullptr) {
    const auto* bytes = static_cast<const std::uint8_t*>(in);
    logged.input.assign(bytes, bytes + inSize);
  }
  auto open = handles_.find(device);
  if (open != handles_.end()) logged.path = open->second.path;
  requests_.push_back(logged);
  *returned = 0;
  if (Fail("DeviceIoControl", error::kGenFailure)) return false;
  if (open == handles_.end()) {
    ++invalidHandleUses_;
    lastError_ = static_cast<Dword>(error::kInvalidHandle);
    return false;
  }
  // Port requests name their port in the record's first field.
  bool portRequest = code == usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION ||
                     code == usb::IOCTL_USB_GET_NODE_CONNECTION_NAME;
  int port = 0;
  if (portRequest) {
    if (in == nullptr || inSize < 4) {
      lastError_ = static_cast<Dword>(error::kInvalidParameter);
      return false;
    }
    port = static_cast<int>(Get32(static_cast<const std::uint8_t*>(in)));
  }
  if (Faulty(Lower(open->second.path), code, port)) {
    lastError_ = static_cast<Dword>(error::kGenFailure);
    return false;
  }
  bool ok = false;
  if (!open->second.controllerKey.empty()) {
    auto controller = controllers_.find(open->second.controllerKey);
    ok = code == usb::IOCTL_USB_GET_ROOT_HUB_NAME && controller != controllers_.end() &&
         RootHubName(controller->second, out, outSize, returned);
  } else {
    Hub& hub = hubs_.at(open->second.hubKey);
    if (code == usb::IOCTL_USB_GET_NODE_INFORMATION) {
      ok = NodeInformation(hub, inSize, out, outSize, returned);
    } else if (code == usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION) {
      ok = inSize >= info::kMinimumSize && ConnectionInformation(hub, port, out, outSize, returned);
    } else if (code == usb::IOCTL_USB_GET_NODE_CONNECTION_NAME) {
      ok = inSize >= cname::kMinimumSize && ConnectionName(hub, port, out, outSize, returned);
    }
  }
  if (!ok) {
    lastError_ = static_cast<Dword>(error::kInvalidParameter);
    return false;
  }
  requests_.back().succeeded = true;
  return true;
}

bool SimUsbTree::CloseHandle(Handle handle) {
  if (Fail("CloseHandle", error::kInvalidHandle)) return false;
  if (handles_.erase(handle) == 0) {
    ++invalidHandleUses_;
    lastError_ = static_cast<Dword>(error::kInvalidHandle);
    return false;
  }
  return true;
}

bool SimUsbTree::RootHubName(Controller& controller, void* out, Dword outSize, Dword* returned) {
  if (out == nullptr || outSize < root::kMinimumSize) return false;
  *returned = WriteName(controller.rootHubName, root::kName, root::kActualLength,
                        controller.nameLengths, static_cast<std::uint8_t*>(out), outSize);
  return true;
}

bool SimUsbTree::NodeInformation(const Hub& hub, Dword inSize, void* out, Dword outSize,
                                 Dword* returned) {
  if (out == nullptr || outSize < node::kMinimumSize || inSize < node::kMinimumSize) {
    return false;
  }
  auto* record = static_cast<std::uint8_t*>(out);
  std::memset(record, 0, node::kMinimumSize);
  Put32(record + node::kNodeType, 0);  // UsbHub
  record[node::kDescriptorLength] = 9;
  record[node::kDescriptorType] = 0x29;
  record[node::kNumberOfPorts] = static_cast<std::uint8_t>(hub.ports);
  *returned = static_cast<Dword>(node::kMinimumSize);
  return true;
}

bool SimUsbTree::ConnectionInformation(const Hub& hub, int port, void* out, Dword outSize,
                                       Dword* returned) {
  if (out == nullptr || outSize < info::kMinimumSize || port < 1 || port > hub.ports) {
    return false;
  }
  auto* record = static_cast<std::uint8_t*>(out);
  std::memset(record, 0, info::kMinimumSize);
  Put32(record + info::kConnectionIndex, static_cast<Dword>(port));
  auto device = hub.plugged.find(port);
  if (device != hub.plugged.end()) {
    std::uint8_t* descriptor = record + info::kDescriptor;
    descriptor[0] = usb::device_descriptor::kSize;
    descriptor[1] = usb::device_descriptor::kType;
    Put16(descriptor + 2, 0x0110);  // bcdUSB
    descriptor[4] = device->second.isHub ? 9 : 0;
    descriptor[7] = 8;  // bMaxPacketSize0
    Put16(record + info::kIdVendor, device->second.vendor);
    Put16(record + info::kIdProduct, device->second.product);
    descriptor[17] = 1;  // bNumConfigurations
    record[info::kCurrentConfigurationValue] = 1;
    record[info::kDeviceIsHub] = device->second.isHub ? 1 : 0;
    Put16(record + info::kDeviceAddress, static_cast<std::uint16_t>(port + 1));
    Put32(record + info::kConnectionStatus, usb::kDeviceConnected);
  } else {
    Put32(record + info::kConnectionStatus, usb::kNoDeviceConnected);
  }
  *returned = static_cast<Dword>(info::kMinimumSize);
  return true;
}

bool SimUsbTree::ConnectionName(Hub& hub, int port, void* out, Dword outSize, Dword* returned) {
  auto device = hub.plugged.find(port);
  if (out == nullptr || outSize < cname::kMinimumSize || device == hub.plugged.end() ||
      !device->second.isHub) {
    return false;
  }
  auto* record = static_cast<std::uint8_t*>(out);
  Put32(record + cname::kConnectionIndex, static_cast<Dword>(port));
  *returned = WriteName(device->second.hubName, cname::kName, cname::kActualLength,
                        hub.nameLengths[port], record, outSize);
  return true;
}

void SimUsbTree::AddHostController(int number, std::string rootHubName) {
  controllers_[LegacyControllerKey(number)].rootHubName = std::move(rootHubName);
}

void SimUsbTree::AddInterfaceHostController(std::string_view path, std::string rootHubName) {
  controllers_[Lower(path)].rootHubName = std::move(rootHubName);
}

void SimUsbTree::AddHub(std::string name, int ports) {
  Hub& hub = EnsureHub(name);
  hub.added = true;
  hub.ports = ports;
}

void SimUsbTree::PlugDevice(std::string_view hub, int port, std::uint16_t vendor,
                            std::uint16_t product) {
  EnsureHub(hub).plugged[port] = {vendor, product, false, {}};
}

void SimUsbTree::PlugHub(std::string_view hub, int port, std::string child, std::uint16_t vendor,
                         std::uint16_t product) {
  EnsureHub(hub).plugged[port] = {vendor, product, true, std::move(child)};
}

void SimUsbTree::Unplug(std::string_view hub, int port) {
  EnsureHub(hub).plugged.erase(port);
}

void SimUsbTree::FailOpen(std::string_view path) {
  failingOpens_.push_back(Lower(path));
}

void SimUsbTree::FailRequest(std::string_view path, Dword code, int port) {
  failingRequests_.push_back({Lower(path), code, port});
}

void SimUsbTree::ReportRootHubNameLengths(int controller, std::vector<Dword> lengths) {
  controllers_[LegacyControllerKey(controller)].nameLengths = std::move(lengths);
}

void SimUsbTree::ReportConnectionNameLengths(std::string_view hub, int port,
                                             std::vector<Dword> lengths) {
  EnsureHub(hub).nameLengths[port] = std::move(lengths);
}

void SimUsbTree::ClearLog() {
  opens_.clear();
  requests_.clear();
}

bool SimUsbTree::Fail(const char* call, Long error) {
  if (faults_ == nullptr || !faults_->Fails(call)) return false;
  lastError_ = static_cast<Dword>(error);
  return true;
}

bool SimUsbTree::Faulty(const std::string& path, Dword code, int port) const {
  return std::any_of(failingRequests_.begin(), failingRequests_.end(), [&](const auto& fault) {
    return fault.path == path && fault.code == code && (fault.port == 0 || fault.port == port);
  });
}

SimUsbTree::Hub& SimUsbTree::EnsureHub(std::string_view name) {
  auto [hub, added] = hubs_.try_emplace(Lower(name));
  if (added) hub->second.name = std::string(name);
  return hub->second;
}

}  // namespace platform::sim
