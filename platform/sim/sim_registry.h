// An in-memory registry that answers like advapi32: keys and value names compare without
// regard to case, values keep their type and bytes, handles are counted and never reused
// so that a leaked or stale handle shows. Tests preload it, read it back, look at every
// write in order and make chosen keys impossible to open.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform::sim {

class FaultPlan;

// A value as stored: its type and its bytes.
struct RegistryValue {
  Dword type = reg::kTypeNone;
  std::vector<std::uint8_t> data;
  friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// One successful RegSetValueExA. `key` is the full path with the root's name,
// e.g. "HKEY_LOCAL_MACHINE\SOFTWARE\TALVOR", in the case the keys were created with.
struct RegistryWrite {
  std::string key;
  std::string name;
  Dword type = reg::kTypeNone;
  std::vector<std::uint8_t> data;
};

class SimRegistry : public Registry {
 public:
  explicit SimRegistry(FaultPlan* faults = nullptr);
  ~SimRegistry() override;

  // Registry
  Long CreateKeyEx(HKey root, const char* subKey, const char* keyClass, Dword options, Dword access,
                   HKey* result, Dword* disposition) override;
  Long OpenKeyEx(HKey root, const char* subKey, Dword access, HKey* result) override;
  Long QueryValueEx(HKey key, const char* name, Dword* type, std::uint8_t* data,
                    Dword* size) override;
  Long SetValueEx(HKey key, const char* name, Dword type, const std::uint8_t* data,
                  Dword size) override;
  Long EnumKey(HKey key, Dword index, char* name, Dword nameSize) override;
  Long CloseKey(HKey key) override;

  // Preloading. Paths are below `root`, components separated by backslashes; missing keys
  // are created. Preloading is not recorded as a write.
  void AddKey(HKey root, std::string_view path);
  void SetValue(HKey root, std::string_view path, std::string_view name, Dword type,
                std::vector<std::uint8_t> data);
  void SetDword(HKey root, std::string_view path, std::string_view name, Dword value);
  // REG_SZ with its terminating NUL.
  void SetString(HKey root, std::string_view path, std::string_view name, std::string_view value);

  // Reading back.
  bool KeyExists(HKey root, std::string_view path) const;
  std::optional<std::string> KeyClass(HKey root, std::string_view path) const;
  std::optional<RegistryValue> GetValue(HKey root, std::string_view path,
                                        std::string_view name) const;
  // The value when it is a REG_DWORD of exactly 4 bytes.
  std::optional<Dword> GetDword(HKey root, std::string_view path, std::string_view name) const;
  // Names of the key's values, in the case they were written, sorted without regard to case.
  std::vector<std::string> ValueNames(HKey root, std::string_view path) const;

  // Every successful RegSetValueExA, in order.
  const std::vector<RegistryWrite>& Writes() const { return writes_; }
  void ClearWrites() { writes_.clear(); }
  // The writes that went anywhere but the key at `path` below `root` (its subkeys included):
  // empty when a program kept to its own key.
  std::vector<RegistryWrite> WritesOutside(HKey root, std::string_view path) const;

  // Makes RegCreateKeyExA and RegOpenKeyExA of this key (and of keys below it) fail with
  // ERROR_ACCESS_DENIED.
  void DenyKey(HKey root, std::string_view path);
  // Makes every RegSetValueExA fail with ERROR_ACCESS_DENIED.
  void DenyWrites(bool deny) { denyWrites_ = deny; }

  // Handles opened by RegCreateKeyExA/RegOpenKeyExA and not yet closed.
  int OpenHandleCount() const { return static_cast<int>(handles_.size()); }
  // Successful RegCreateKeyExA and RegOpenKeyExA calls so far.
  int OpenCount() const { return openCount_; }
  // Calls answered with ERROR_INVALID_HANDLE (a closed, unknown or null handle).
  int InvalidHandleUses() const { return invalidHandleUses_; }

 private:
  struct Key;

  Key* Resolve(HKey key);
  Key* Root(HKey root) const;
  Key* Find(Key* from, std::string_view path) const;
  Key* FindOrCreate(Key* from, std::string_view path, const char* keyClass, bool* created);
  bool Denied(const Key* from, std::string_view path) const;
  HKey NewHandle(Key* key);
  bool Faulted(const char* call);
  Long InvalidHandle();

  FaultPlan* faults_;
  std::map<HKey, std::unique_ptr<Key>> roots_;
  std::map<HKey, Key*> handles_;
  std::uintptr_t nextHandle_ = 0x1000;
  std::set<std::string> denied_;  // full paths, lower case
  std::vector<RegistryWrite> writes_;
  bool denyWrites_ = false;
  int invalidHandleUses_ = 0;
  int openCount_ = 0;
};

}  // namespace platform::sim
