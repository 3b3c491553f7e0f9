#include "device/usb_walk.h"

#include <cctype>
#include <cstdio>
#include <new>
#include <vector>

#include "device/host_controllers.h"
#include "platform/code_page.h"
#include "platform/device_io.h"
#include "platform/platform.h"
#include "platform/usb_ioctl.h"

namespace korven {
namespace {

using platform::Dword;
using platform::Handle;
namespace usb = platform::usb;

// The vendor id is kept only scrambled.
constexpr std::uint16_t kVendorKey = 0xA55A;
constexpr std::uint16_t kScrambledVendor = 0x8E17;

// A hub's path is built in a buffer of this size: "\\.\", the name, a terminating zero.
constexpr std::size_t kHubPathBufferSize = 256;
// Deeper than the seven tiers a USB tree can have.
constexpr int kMaxHubDepth = 16;
// A name record longer than this is taken for a broken answer and not allocated.
constexpr Dword kMaxNameRecord = 0x10000;

Dword Read32(const std::uint8_t* at) {
  return Dword{at[0]} | (Dword{at[1]} << 8) | (Dword{at[2]} << 16) | (Dword{at[3]} << 24);
}

std::uint16_t Read16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

void Write32(std::uint8_t* at, Dword value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::string Lower(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// A zeroed record of `length` bytes, or empty when the length is unreasonable or the
// memory isn't there.
std::vector<std::uint8_t> AllocateRecord(Dword length) {
  if (length > kMaxNameRecord) return {};
  try {
    return std::vector<std::uint8_t>(length, 0);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

// The wide name from `nameOffset` to its terminating zero or the end of the record, whatever
// the record's own length field claims; a trailing odd byte is no character.
std::string NameFromRecord(platform::CodePage& codePage, const std::vector<std::uint8_t>& record,
                           std::size_t nameOffset) {
  std::u16string wide;
  for (std::size_t at = nameOffset; at + 1 < record.size(); at += 2) {
    char16_t c = Read16(&record[at]);
    if (c == 0) break;
    wide.push_back(c);
  }
  return codePage.AnsiFromWide(wide);
}

Handle OpenForWalk(platform::DeviceIo& io, const char* path) {
  return io.CreateFile(path, platform::file::kGenericWrite, platform::file::kShareWrite,
                       platform::file::kOpenExisting, 0);
}

// The name of host controller `controller`'s root hub; empty when it can't be learned.
std::string RootHubName(UsbWalk& walk, Handle controller) {
  namespace root = usb::root_hub_name;
  std::uint8_t head[root::kSize] = {};
  Dword returned = 0;
  if (!walk.io.DeviceIoControl(controller, usb::IOCTL_USB_GET_ROOT_HUB_NAME, nullptr, 0, head,
                               sizeof head, &returned)) {
    return {};
  }
  Dword length = Read32(head + root::kActualLength);
  if (length <= root::kName) return {};
  std::vector<std::uint8_t> record = AllocateRecord(length);
  if (record.empty()) return {};
  if (!walk.io.DeviceIoControl(controller, usb::IOCTL_USB_GET_ROOT_HUB_NAME, nullptr, 0,
                               record.data(), length, &returned)) {
    return {};
  }
  return NameFromRecord(walk.codePage, record, root::kName);
}

// The name of the hub on `port`; empty when it can't be learned.
std::string ChildHubName(UsbWalk& walk, Handle hub, unsigned port) {
  namespace cname = usb::connection_name;
  std::uint8_t head[cname::kSize] = {};
  Write32(head + cname::kConnectionIndex, port);
  Dword returned = 0;
  if (!walk.io.DeviceIoControl(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_NAME, head, sizeof head,
                               head, sizeof head, &returned)) {
    return {};
  }
  Dword length = Read32(head + cname::kActualLength);
  if (length <= cname::kSize) return {};
  std::vector<std::uint8_t> record = AllocateRecord(length);
  if (record.empty()) return {};
  Write32(record.data() + cname::kConnectionIndex, port);
  if (!walk.io.DeviceIoControl(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_NAME, record.data(), length,
                               record.data(), length, &returned)) {
    return {};
  }
  return NameFromRecord(walk.codePage, record, cname::kName);
}

}  // namespace

bool IsKorvenDevice(std::uint16_t idVendor, std::uint16_t idProduct) {
  if ((idVendor ^ kVendorKey) != kScrambledVendor) return false;
  unsigned family = idProduct & 0xFF00u;
  return family == 0x1100 || family == 0x1600 || family == 0x1700;
}

bool FindDeviceOnUsb(const platform::Platform& platform) {
  UsbWalk walk{*platform.device, *platform.codePage, {}, 0};
  for (int i = 0; i < usb::kHostControllerCount; ++i) {
    char path[16];
    std::snprintf(path, sizeof path, usb::kHostControllerFormat, i);
    if (WalkHostController(walk, path)) return true;
  }
  if (platform.deviceInterfaces == nullptr) return false;
  for (const std::string& path : ListedHostControllers(*platform.deviceInterfaces)) {
    if (WalkHostController(walk, path.c_str())) return true;
  }
  return false;
}

bool WalkHostController(UsbWalk& walk, const char* path) {
  Handle controller = OpenForWalk(walk.io, path);
  if (controller == platform::kInvalidHandle) return false;
  std::string rootHub = RootHubName(walk, controller);
  // A root hub walked already (a controller listed under its legacy name too) is skipped
  // by ScanHub, which never enters a hub twice.
  bool found = !rootHub.empty() && ScanHub(walk, std::move(rootHub));
  walk.io.CloseHandle(controller);
  return found;
}

bool ScanHub(UsbWalk& walk, std::string name) {
  namespace node = usb::node_information;
  std::string prefix = usb::kDevicePrefix;
  if (prefix.size() + name.size() + 1 > kHubPathBufferSize) return false;
  if (walk.depth >= kMaxHubDepth || !walk.enteredHubs.insert(Lower(name)).second) return false;
  std::string path = prefix + name;
  Handle hub = OpenForWalk(walk.io, path.c_str());
  if (hub == platform::kInvalidHandle) return false;

  std::uint8_t record[node::kSize] = {};
  Dword returned = 0;
  bool found = false;
  if (walk.io.DeviceIoControl(hub, usb::IOCTL_USB_GET_NODE_INFORMATION, record, sizeof record,
                              record, sizeof record, &returned)) {
    ++walk.depth;
    found = ScanHubPorts(walk, hub, record[node::kNumberOfPorts]);
    --walk.depth;
  }
  walk.io.CloseHandle(hub);
  return found;
}

bool ScanHubPorts(UsbWalk& walk, Handle hub, unsigned portCount) {
  namespace info = usb::connection_information;
  for (unsigned port = 1; port <= portCount; ++port) {
    std::uint8_t record[info::kSize] = {};
    Write32(record + info::kConnectionIndex, port);
    Dword returned = 0;
    if (!walk.io.DeviceIoControl(hub, usb::IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, record,
                                 sizeof record, record, sizeof record, &returned)) {
      continue;
    }
    if (IsKorvenDevice(Read16(record + info::kIdVendor), Read16(record + info::kIdProduct))) {
      return true;
    }
    if (record[info::kDeviceIsHub] == 0) continue;
    std::string child = ChildHubName(walk, hub, port);
    if (!child.empty() && ScanHub(walk, std::move(child))) return true;
  }
  return false;
}

}  // namespace korven
