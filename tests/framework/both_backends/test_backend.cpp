#include "tests/framework/both_backends/test_backend.h"

#include <utility>

namespace framework_test {
namespace {
BackendFactory& Factory() {
  static BackendFactory factory;
  return factory;
}
}  // namespace

void SetBackendFactory(BackendFactory factory) {
  Factory() = std::move(factory);
}

std::unique_ptr<TestBackend> MakeBackend() {
  return Factory()();
}

}  // namespace framework_test
