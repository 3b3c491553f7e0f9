// The platform's published USB requests that find a device in the USB tree, with the
// offsets of the fields the system reads and writes in their records. The records are
// handled as bytes: their packing differs between the platform's headers and its answers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/device_interfaces.h"
#include "platform/win_types.h"

namespace platform::usb {

// "\\.\HCD%d": host controller i.
inline constexpr char kHostControllerFormat[] = "\\\\.\\HCD%d";
inline constexpr int kHostControllerCount = 10;
// GUID_DEVINTERFACE_USB_HOST_CONTROLLER: the host controllers in the system's device list,
// whatever names their drivers gave them.
inline constexpr Guid kHostControllerInterface = {
    0x3ABF6F2D, 0x71C4, 0x462A, {0x8A, 0x92, 0x1E, 0x68, 0x61, 0xE6, 0xAF, 0x27}};
// "\\.\" before a hub's name makes its path.
inline constexpr char kDevicePrefix[] = "\\\\.\\";

// IOCTL_USB_GET_ROOT_HUB_NAME on a host controller and IOCTL_USB_GET_NODE_INFORMATION on a
// hub share one code.
inline constexpr Dword IOCTL_USB_GET_ROOT_HUB_NAME = 0x220408;
inline constexpr Dword IOCTL_USB_GET_NODE_INFORMATION = 0x220408;
inline constexpr Dword IOCTL_USB_GET_NODE_CONNECTION_INFORMATION = 0x22040C;
inline constexpr Dword IOCTL_USB_GET_NODE_CONNECTION_NAME = 0x220414;

// USB_ROOT_HUB_NAME: ActualLength (whole record, in bytes), then the wide name.
namespace root_hub_name {
inline constexpr std::size_t kActualLength = 0;
inline constexpr std::size_t kName = 4;
inline constexpr std::size_t kSize = 8;  // the record as first asked for, to learn the length
inline constexpr std::size_t kMinimumSize = 6;
}  // namespace root_hub_name

// USB_NODE_INFORMATION: NodeType, then the hub descriptor.
namespace node_information {
inline constexpr std::size_t kNodeType = 0;
inline constexpr std::size_t kDescriptorLength = 4;
inline constexpr std::size_t kDescriptorType = 5;
inline constexpr std::size_t kNumberOfPorts = 6;
inline constexpr std::size_t kSize = 80;
inline constexpr std::size_t kMinimumSize = 76;  // the packed record
}  // namespace node_information

// USB_NODE_CONNECTION_INFORMATION: ConnectionIndex, the device descriptor, then the
// connection's state.
namespace connection_information {
inline constexpr std::size_t kConnectionIndex = 0;
inline constexpr std::size_t kDescriptor = 4;
inline constexpr std::size_t kIdVendor = kDescriptor + 8;
inline constexpr std::size_t kIdProduct = kDescriptor + 10;
inline constexpr std::size_t kCurrentConfigurationValue = 22;
inline constexpr std::size_t kLowSpeed = 23;
inline constexpr std::size_t kDeviceIsHub = 24;
inline constexpr std::size_t kDeviceAddress = 25;
inline constexpr std::size_t kNumberOfOpenPipes = 27;
inline constexpr std::size_t kConnectionStatus = 31;
inline constexpr std::size_t kSize = 40;
inline constexpr std::size_t kMinimumSize = 35;  // the packed record without pipes
}  // namespace connection_information

// USB_NODE_CONNECTION_NAME: ConnectionIndex, ActualLength (whole record), the wide name.
namespace connection_name {
inline constexpr std::size_t kConnectionIndex = 0;
inline constexpr std::size_t kActualLength = 4;
inline constexpr std::size_t kName = 8;
inline constexpr std::size_t kSize = 12;  // the record as first asked for
inline constexpr std::size_t kMinimumSize = 10;
}  // namespace connection_name

// USB_DEVICE_DESCRIPTOR, as embedded in the connection information.
namespace device_descriptor {
inline constexpr std::size_t kSize = 18;
inline constexpr std::uint8_t kType = 1;
}  // namespace device_descriptor

// USB_CONNECTION_STATUS values.
inline constexpr Dword kNoDeviceConnected = 0;
inline constexpr Dword kDeviceConnected = 1;

}  // namespace platform::usb
