#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/fault_plan.h"

namespace platform::sim {

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Key names between backslashes; empty ones (a trailing backslash) are skipped.
std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    const auto cut = path.find('\\');
    const auto part = path.substr(0, cut);
    if (!part.empty()) parts.push_back(part);
    if (cut == std::string_view::npos) break;
    path.remove_prefix(cut + 1);
  }
  return parts;
}

const char* RootName(HKey root) {
  switch (root) {
    case HKey::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case HKey::CurrentUser:
      return "HKEY_CURRENT_USER";
    case HKey::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case HKey::Users:
      return "HKEY_USERS";
    case HKey::Null:
      break;
  }
  return nullptr;
}

constexpr HKey kRoots[] = {HKey::ClassesRoot, HKey::CurrentUser, HKey::LocalMachine, HKey::Users};

}  // namespace

struct SimRegistry::Key {
  std::string name;      // as created
  std::string path;      // full path with the root's name, as created
  std::string keyClass;  // given at creation
  std::map<std::string, std::unique_ptr<Key>> children;                 // by lower-case name
  std::map<std::string, std::pair<std::string, RegistryValue>> values;  // by lower-case name
};

SimRegistry::SimRegistry(FaultPlan* faults) : faults_(faults) {
  for (HKey root : kRoots) {
    auto key = std::make_unique<Key>();
    key->name = key->path = RootName(root);
    roots_[root] = std::move(key);
  }
}

SimRegistry::~SimRegistry() = default;

SimRegistry::Key* SimRegistry::Root(HKey root) const {
  auto it = roots_.find(root);
  return it == roots_.end() ? nullptr : it->second.get();
}

SimRegistry::Key* SimRegistry::Resolve(HKey key) {
  if (Key* root = Root(key)) return root;
  auto it = handles_.find(key);
  return it == handles_.end() ? nullptr : it->second;
}

SimRegistry::Key* SimRegistry::Find(Key* from, std::string_view path) const {
  for (auto part : Components(path)) {
    if (from == nullptr) return nullptr;
    auto it = from->children.find(Lower(part));
    from = it == from->children.end() ? nullptr : it->second.get();
  }
  return from;
}

SimRegistry::Key* SimRegistry::FindOrCreate(Key* from, std::string_view path, const char* keyClass,
                                            bool* created) {
  *created = false;
  for (auto part : Components(path)) {
    auto& slot = from->children[Lower(part)];
    if (!slot) {
      slot = std::make_unique<Key>();
      slot->name = std::string(part);
      slot->path = from->path + "\\" + slot->name;
      slot->keyClass = keyClass != nullptr ? keyClass : "";
      *created = true;
    }
    from = slot.get();
  }
  return from;
}

bool SimRegistry::Denied(const Key* from, std::string_view path) const {
  std::string full = Lower(from->path);
  auto isDenied = [&] { return denied_.count(full) != 0; };
  if (isDenied()) return true;
  for (auto part : Components(path)) {
    full += "\\" + Lower(part);
    if (isDenied()) return true;
  }
  return false;
}

HKey SimRegistry::NewHandle(Key* key) {
  const auto handle = static_cast<HKey>(nextHandle_);
  nextHandle_ += 4;
  handles_[handle] = key;
  ++openCount_;
  return handle;
}

bool SimRegistry::Faulted(const char* call) {
  return faults_ != nullptr && faults_->Fails(call);
}

Long SimRegistry::InvalidHandle() {
  ++invalidHandleUses_;
  return error::kInvalidHandle;
}

Long SimRegistry::CreateKeyEx(HKey root, const char* subKey, const char* keyClass, Dword, Dword,
                              HKey* result, Dword* disposition) {
  if (result == nullptr) return error::kInvalidParameter;
  *result = HKey::Null;
  Key* from = Resolve(root);
  if (from == nullptr) return InvalidHandle();
  if (Faulted("RegCreateKeyExA")) return error::kAccessDenied;
  const std::string_view path = subKey != nullptr ? subKey : "";
  if (Denied(from, path)) return error::kAccessDenied;
  bool created = false;
  Key* key = FindOrCreate(from, path, keyClass, &created);
  if (disposition != nullptr) {
    *disposition = created ? reg::kCreatedNewKey : reg::kOpenedExistingKey;
  }
  *result = NewHandle(key);
  return error::kSuccess;
}

Long SimRegistry::OpenKeyEx(HKey root, const char* subKey, Dword, HKey* result) {
  if (result == nullptr) return error::kInvalidParameter;
  *result = HKey::Null;
  Key* from = Resolve(root);
  if (from == nullptr) return InvalidHandle();
  if (Faulted("RegOpenKeyExA")) return error::kAccessDenied;
  const std::string_view path = subKey != nullptr ? subKey : "";
  Key* key = Find(from, path);
  if (key == nullptr) return error::kFileNotFound;
  if (Denied(from, path)) return error::kAccessDenied;
  *result = NewHandle(key);
  return error::kSuccess;
}

Long SimRegistry::QueryValueEx(HKey handle, const char* name, Dword* type, std::uint8_t* data,
                               Dword* size) {
  Key* key = Resolve(handle);
  if (key == nullptr) return InvalidHandle();
  if (data != nullptr && size == nullptr) return error::kInvalidParameter;
  if (Faulted("RegQueryValueExA")) return error::kAccessDenied;
  auto it = key->values.find(Lower(name != nullptr ? name : ""));
  if (it == key->values.end()) return error::kFileNotFound;
  const RegistryValue& value = it->second.second;
  const auto length = static_cast<Dword>(value.data.size());
  if (type != nullptr) *type = value.type;
  if (size == nullptr) return error::kSuccess;
  if (data != nullptr) {
    if (*size < length) {
      *size = length;
      return error::kMoreData;
    }
    std::copy(value.data.begin(), value.data.end(), data);
  }
  *size = length;
  return error::kSuccess;
}

Long SimRegistry::SetValueEx(HKey handle, const char* name, Dword type, const std::uint8_t* data,
                             Dword size) {
  Key* key = Resolve(handle);
  if (key == nullptr) return InvalidHandle();
  if (data == nullptr && size != 0) return error::kInvalidParameter;
  if (Faulted("RegSetValueExA")) return error::kAccessDenied;
  if (denyWrites_) return error::kAccessDenied;
  const std::string valueName = name != nullptr ? name : "";
  RegistryValue value{type, std::vector<std::uint8_t>(data, data + size)};
  writes_.push_back({key->path, valueName, type, value.data});
  key->values[Lower(valueName)] = {valueName, std::move(value)};
  return error::kSuccess;
}

Long SimRegistry::EnumKey(HKey handle, Dword index, char* name, Dword nameSize) {
  Key* key = Resolve(handle);
  if (key == nullptr) return InvalidHandle();
  if (name == nullptr) return error::kInvalidParameter;
  if (Faulted("RegEnumKeyA")) return error::kAccessDenied;
  if (index >= key->children.size()) return error::kNoMoreItems;
  auto it = key->children.begin();
  std::advance(it, index);
  const std::string& child = it->second->name;
  if (child.size() + 1 > nameSize) return error::kMoreData;
  std::memcpy(name, child.c_str(), child.size() + 1);
  return error::kSuccess;
}

Long SimRegistry::CloseKey(HKey handle) {
  if (Root(handle) != nullptr) return error::kSuccess;
  if (handles_.erase(handle) == 0) return InvalidHandle();
  return error::kSuccess;
}

void SimRegistry::AddKey(HKey root, std::string_view path) {
  bool created = false;
  FindOrCreate(Root(root), path, "", &created);
}

void SimRegistry::SetValue(HKey root, std::string_view path, std::string_view name, Dword type,
                           std::vector<std::uint8_t> data) {
  bool created = false;
  Key* key = FindOrCreate(Root(root), path, "", &created);
  key->values[Lower(name)] = {std::string(name), RegistryValue{type, std::move(data)}};
}

void SimRegistry::SetDword(HKey root, std::string_view path, std::string_view name, Dword value) {
  SetValue(root, path, name, reg::kTypeDword,
           {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void SimRegistry::SetString(HKey root, std::string_view path, std::string_view name,
                            std::string_view value) {
  std::vector<std::uint8_t> data(value.begin(), value.end());
  data.push_back(0);
  SetValue(root, path, name, reg::kTypeSz, std::move(data));
}

bool SimRegistry::KeyExists(HKey root, std::string_view path) const {
  return Find(Root(root), path) != nullptr;
}

std::optional<std::string> SimRegistry::KeyClass(HKey root, std::string_view path) const {
  const Key* key = Find(Root(root), path);
  if (key == nullptr) return std::nullopt;
  return key->keyClass;
}

std::optional<RegistryValue> SimRegistry::GetValue(HKey root, std::string_view path,
                                                   std::string_view name) const {
  const Key* key = Find(Root(root), path);
  if (key == nullptr) return std::nullopt;
  auto it = key->values.find(Lower(name));
  if (it == key->values.end()) return std::nullopt;
  return it->second.second;
}

std::optional<Dword> SimRegistry::GetDword(HKey root, std::string_view path,
                                           std::string_view name) const {
  auto value = GetValue(root, path, name);
  if (!value || value->type != reg::kTypeDword || value->data.size() != 4) return std::nullopt;
  const auto& b = value->data;
  return Dword{b[0]} | Dword{b[1]} << 8 | Dword{b[2]} << 16 | Dword{b[3]} << 24;
}

std::vector<std::string> SimRegistry::ValueNames(HKey root, std::string_view path) const {
  std::vector<std::string> names;
  if (const Key* key = Find(Root(root), path)) {
    for (const auto& [lower, value] : key->values) names.push_back(value.first);
  }
  return names;
}

std::vector<RegistryWrite> SimRegistry::WritesOutside(HKey root, std::string_view path) const {
  std::string own = Lower(RootName(root));
  for (auto part : Components(path)) own += "\\" + Lower(part);
  std::vector<RegistryWrite> outside;
  for (const RegistryWrite& write : writes_) {
    const std::string key = Lower(write.key);
    const bool inside = key == own || key.starts_with(own + "\\");
    if (!inside) outside.push_back(write);
  }
  return outside;
}

void SimRegistry::DenyKey(HKey root, std::string_view path) {
  std::string full = Lower(RootName(root));
  for (auto part : Components(path)) full += "\\" + Lower(part);
  denied_.insert(full);
}

}  // namespace platform::sim
