// A machine's USB tree as the published USB requests show it: host controllers "\\.\HCD<n>"
// or at the device paths of their interfaces, with their root hubs, hubs at any depth by name, and
// devices with their descriptors on hub ports. A test can make any open or request fail, make the
// names come back with wrong lengths, and link a hub below itself. Opens and requests are logged in
// order and handles counted, so a handle left open shows.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/device_io.h"

namespace platform::sim {

class FaultPlan;

// What is plugged into one hub port.
struct UsbPortDevice {
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  bool isHub = false;
  std::string hubName;  // the child hub's name when isHub
};

// One CreateFileA that reached the tree, opened or not.
struct UsbOpen {
  std::string path;
  Dword access = 0;
  Dword share = 0;
  Dword disposition = 0;
  bool succeeded = false;
};

// One DeviceIoControl that reached the tree, answered or not.
struct UsbRequest {
  std::string path;  // the path the handle was opened on; empty for an unknown handle
  Dword code = 0;
  std::vector<std::uint8_t> input;
  Dword outputSize = 0;
  bool succeeded = false;
};

class SimUsbTree : public DeviceIo {
 public:
  // A hub of a common maker, as it shows in its own port's descriptor.
  static constexpr std::uint16_t kHubVendor = 0x05E3;
  static constexpr std::uint16_t kHubProduct = 0x0608;

  explicit SimUsbTree(FaultPlan* faults = nullptr) : faults_(faults) {}

  // DeviceIo
  Handle CreateFile(const char* path, Dword access, Dword share, Dword disposition,
                    Dword flags) override;
  bool DeviceIoControl(Handle device, Dword code, const void* in, Dword inSize, void* out,
                       Dword outSize, Dword* returned) override;
  bool CloseHandle(Handle handle) override;
  Dword GetLastError() override { return lastError_; }

  // Building. Hub names are compared without regard to case; a name may be given before
  // its hub is added (the hub then can't be opened until it is).
  void AddHostController(int number, std::string rootHubName);
  // A host controller that has no legacy name, only the device path of its interface.
  void AddInterfaceHostController(std::string_view path, std::string rootHubName);
  void AddHub(std::string name, int ports);
  void PlugDevice(std::string_view hub, int port, std::uint16_t vendor, std::uint16_t product);
  void PlugHub(std::string_view hub, int port, std::string child, std::uint16_t vendor = kHubVendor,
               std::uint16_t product = kHubProduct);
  void Unplug(std::string_view hub, int port);

  // Faults. `path` as opened ("\\.\HCD0", "\\.\" + hub name). A failed open or request
  // leaves ERROR_FILE_NOT_FOUND or ERROR_GEN_FAILURE.
  void FailOpen(std::string_view path);
  // Requests with `code` on `path` fail; for port requests only on `port` unless it is 0.
  void FailRequest(std::string_view path, Dword code, int port = 0);
  // ActualLength reported in successive name answers instead of the true one; the last
  // one stays. The name's bytes are copied as far as they fit whatever the length says.
  void ReportRootHubNameLengths(int controller, std::vector<Dword> lengths);
  void ReportConnectionNameLengths(std::string_view hub, int port, std::vector<Dword> lengths);

  const std::vector<UsbOpen>& Opens() const { return opens_; }
  const std::vector<UsbRequest>& Requests() const { return requests_; }
  void ClearLog();
  int OpenHandleCount() const { return static_cast<int>(handles_.size()); }
  // Requests and closes made with a handle that is closed, unknown or the invalid value.
  int InvalidHandleUses() const { return invalidHandleUses_; }

 private:
  struct Hub {
    std::string name;
    bool added = false;  // known by name only until added
    int ports = 0;
    std::map<int, UsbPortDevice> plugged;
    std::map<int, std::vector<Dword>> nameLengths;  // reported connection-name lengths
  };
  struct Controller {
    std::string rootHubName;
    std::vector<Dword> nameLengths;  // reported root hub name lengths
  };
  struct OpenHandle {
    std::string path;
    std::string controllerKey;  // empty: a hub
    std::string hubKey;
  };
  struct RequestFault {
    std::string path;  // lower case
    Dword code;
    int port;
  };

  bool Fail(const char* call, Long error);
  bool Faulty(const std::string& path, Dword code, int port) const;
  bool RootHubName(Controller& controller, void* out, Dword outSize, Dword* returned);
  bool NodeInformation(const Hub& hub, Dword inSize, void* out, Dword outSize, Dword* returned);
  bool ConnectionInformation(const Hub& hub, int port, void* out, Dword outSize, Dword* returned);
  bool ConnectionName(Hub& hub, int port, void* out, Dword outSize, Dword* returned);
  Hub& EnsureHub(std::string_view name);

  FaultPlan* faults_;
  Dword lastError_ = 0;
  std::map<std::string, Controller> controllers_;  // by lower-case path
  std::map<std::string, Hub> hubs_;                // by lower-case name
  std::vector<std::string> failingOpens_;
  std::vector<RequestFault> failingRequests_;
  std::map<Handle, OpenHandle> handles_;
  std::uintptr_t nextHandle_ = 0x40000000;  // apart from the device's handles
  std::vector<UsbOpen> opens_;
  std::vector<UsbRequest> requests_;
  int invalidHandleUses_ = 0;
};

}  // namespace platform::sim
