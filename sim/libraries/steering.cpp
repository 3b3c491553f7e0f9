#include "libraries/steering.h"

#include <windows.h>

namespace korvensim {
namespace {

class SteeringKey {
 public:
  SteeringKey() {
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSteeringKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                      &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~SteeringKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  SteeringKey(const SteeringKey&) = delete;
  SteeringKey& operator=(const SteeringKey&) = delete;

  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

std::optional<long> ReadSteering(const char* name) {
  SteeringKey key;
  if (key.get() == nullptr) return std::nullopt;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return static_cast<long>(static_cast<LONG>(value));
}

std::string ReadSteeringText(const char* name) {
  SteeringKey key;
  if (key.get() == nullptr) return {};
  char text[MAX_PATH] = {};
  DWORD type = 0;
  DWORD size = sizeof text - 1;
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return {};
  }
  return text;
}

void LogCall(const std::string& line) {
  // The caller's last-error value is part of its answer.
  const DWORD lastError = GetLastError();
  const std::string path = ReadSteeringText(kCallLogValue);
  if (path.empty()) {
    SetLastError(lastError);
    return;
  }
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    SetLastError(lastError);
    return;
  }
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  SetLastError(lastError);
}

}  // namespace korvensim
