// The USB walk against a tree whose every answer comes from the input: records of any length,
// names with any ActualLength, hubs that lead anywhere. The walk must stay inside the records
// it was given and close every handle it opened.
#include <cstdlib>
#include <cstring>
#include <set>

#include "device/usb_walk.h"
#include "fuzz/fuzz_input.h"
#include "platform/device_io.h"
#include "platform/platform.h"
#include "platform/sim/sim_code_page.h"

namespace {

using platform::Dword;
using platform::Handle;

class FuzzTree : public platform::DeviceIo {
 public:
  explicit FuzzTree(korven::fuzz::Input& in) : in_(in) {}
  ~FuzzTree() override {
    if (!open_.empty()) std::abort();  // a handle the walk never closed
  }

  Handle CreateFile(const char*, Dword, Dword, Dword, Dword) override {
    if ((in_.Byte() & 7) == 0 || open_.size() > 64) return platform::kInvalidHandle;
    const auto handle = static_cast<Handle>(next_ += 4);
    open_.insert(handle);
    return handle;
  }
  bool DeviceIoControl(Handle device, Dword, const void* in, Dword inSize, void* out, Dword outSize,
                       Dword* returned) override {
    if (open_.count(device) == 0) std::abort();  // a stale handle
    *returned = 0;
    // Reading the input record proves it is as long as the walk says.
    const auto* bytes = static_cast<const std::uint8_t*>(in);
    unsigned sum = 0;
    for (Dword i = 0; i < inSize; ++i) sum += bytes[i];
    (void)sum;
    if ((in_.Byte() & 15) == 0) return false;
    const std::string answer = in_.Bytes(outSize);
    if (out != nullptr && outSize != 0) {
      // The driver fills what it has; the rest of the buffer keeps what the walk put there.
      std::memcpy(out, answer.data(), answer.size());
    }
    *returned = static_cast<Dword>(answer.size());
    return true;
  }
  bool CloseHandle(Handle handle) override { return open_.erase(handle) != 0; }
  Dword GetLastError() override { return 31; }

 private:
  korven::fuzz::Input& in_;
  std::set<Handle> open_;
  std::uintptr_t next_ = 0x1000;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korven::fuzz::Input in(data, size);
  FuzzTree tree(in);
  platform::sim::SimCodePage codePage;
  platform::Platform services;
  services.device = &tree;
  services.codePage = &codePage;
  korven::FindDeviceOnUsb(services);
  return 0;
}
