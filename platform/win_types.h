// Plain integer types and result codes shared by every platform seam. The values are the
// operating system's own, so a seam's Win32 implementation passes them through unchanged.
#pragma once

#include <cstdint>

namespace platform {

using Dword = std::uint32_t;
using Long = std::int32_t;  // registry result codes (LONG)

// Kernel handle (device paths, host controllers, hubs, mutexes). Opaque to system code.
enum class Handle : std::uintptr_t {};
inline constexpr Handle kInvalidHandle = static_cast<Handle>(~std::uintptr_t{0});
inline constexpr Handle kNullHandle = static_cast<Handle>(0);

// Result codes of the platform (winerror.h values).
namespace error {
inline constexpr Long kSuccess = 0;
inline constexpr Long kFileNotFound = 2;
inline constexpr Long kPathNotFound = 3;
inline constexpr Long kAccessDenied = 5;
inline constexpr Long kInvalidHandle = 6;
inline constexpr Long kNotEnoughMemory = 8;
inline constexpr Long kGenFailure = 31;
inline constexpr Long kInvalidParameter = 87;
inline constexpr Long kInsufficientBuffer = 122;
inline constexpr Long kModNotFound = 126;
inline constexpr Long kProcNotFound = 127;
inline constexpr Long kAlreadyExists = 183;
inline constexpr Long kMoreData = 234;
inline constexpr Long kNoMoreItems = 259;
inline constexpr Long kInvalidFunction = 1;
inline constexpr Long kDeviceNotConnected = 1167;
}  // namespace error

}  // namespace platform
