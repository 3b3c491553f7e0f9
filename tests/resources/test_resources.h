// The .res compiled from test.rc, embedded by the build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "framework/resources/res_file.h"

namespace korven::res {
extern const std::uint8_t kTestResources[];
extern const std::size_t kTestResourcesSize;
}  // namespace korven::res

namespace resources_test {

inline std::span<const std::uint8_t> TestResBytes() {
  return {korven::res::kTestResources, korven::res::kTestResourcesSize};
}

inline const fw::res::ResFile& TestResFile() {
  static const fw::res::ResFile file = *fw::res::ResFile::Parse(TestResBytes());
  return file;
}

// The data of a resource of the test file; empty when it is missing.
inline std::span<const std::uint8_t> TestResource(std::uint16_t type, std::uint16_t name) {
  const fw::res::ResourceEntry* e =
      TestResFile().Find(fw::res::ResourceId::Number(type), fw::res::ResourceId::Number(name));
  return e != nullptr ? e->data : std::span<const std::uint8_t>{};
}

// A heap copy of exactly these bytes, so that the sanitizer sees any read past their end.
inline std::vector<std::uint8_t> Copy(std::span<const std::uint8_t> bytes) {
  return {bytes.begin(), bytes.end()};
}

}  // namespace resources_test
