// The compiled resources (windres' .res) embedded in native builds.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korven::res {
extern const std::uint8_t kCompiledResources[];
extern const std::size_t kCompiledResourcesSize;
}  // namespace korven::res
