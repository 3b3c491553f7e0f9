#include "platform/sim/sim_modules.h"

#include <cctype>

#include "platform/sim/fault_plan.h"

namespace platform::sim {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string BaseName(const std::string& path) {
  auto slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string SimModules::GetModuleFileName() {
  if (Fails("GetModuleFileNameA", error::kInsufficientBuffer)) return {};
  if (programPath_.empty()) lastError_ = static_cast<Dword>(error::kInvalidHandle);
  return programPath_;
}

std::string SimModules::BesideProgram(std::string_view fileName) const {
  auto slash = programPath_.find_last_of('\\');
  std::string directory = slash == std::string::npos ? "" : programPath_.substr(0, slash + 1);
  return directory + std::string(fileName);
}

Module SimModules::LoadLibrary(const char* path) {
  std::string given = path != nullptr ? path : "";
  loadPaths_.push_back(given);
  std::string key = Lower(given);
  auto library = libraries_.find(key);
  if (Fails("LoadLibraryA", error::kModNotFound) || library == libraries_.end() ||
      !library->second.present) {
    if (library == libraries_.end() || !library->second.present) {
      lastError_ = static_cast<Dword>(error::kModNotFound);
    }
    log_.push_back("load " + BaseName(given) + " failed");
    return kNullModule;
  }
  log_.push_back("load " + FileName(key));
  for (auto& [module, loaded] : loaded_) {
    if (loaded.key == key) {
      ++loaded.references;
      return module;
    }
  }
  Module module = static_cast<Module>(nextModule_);
  nextModule_ += 0x10000;
  loaded_[module] = {key, 1};
  return module;
}

Proc SimModules::GetProcAddress(Module module, const char* name) {
  std::string entry = name != nullptr ? name : "";
  auto loaded = loaded_.find(module);
  if (loaded == loaded_.end()) {
    ++invalidUses_;
    lastError_ = static_cast<Dword>(error::kInvalidHandle);
    log_.push_back("find ?!" + entry + " invalid module");
    return kNullProc;
  }
  const std::string& key = loaded->second.key;
  std::string label = FileName(key) + "!" + entry;
  const auto& entries = libraries_.at(key).entries;
  if (Fails("GetProcAddress", error::kProcNotFound) || entries.count(entry) == 0) {
    if (entries.count(entry) == 0) lastError_ = static_cast<Dword>(error::kProcNotFound);
    log_.push_back("find " + label + " missing");
    return kNullProc;
  }
  log_.push_back("find " + label);
  for (const auto& [proc, bound] : procs_) {
    if (bound.module == module && bound.name == entry) return proc;
  }
  Proc proc = static_cast<Proc>(nextProc_);
  nextProc_ += 0x10;
  procs_[proc] = {module, key, entry};
  return proc;
}

int SimModules::CallProc(Proc proc) {
  auto bound = procs_.find(proc);
  if (bound == procs_.end()) {
    ++invalidUses_;
    log_.push_back("call ? invalid entry point");
    return 0;
  }
  EntryPoint* entry = FindEntry(bound->second.key, bound->second.name);
  if (entry == nullptr) {
    // The library dropped the export after it was looked up: nothing sensible to run.
    ++invalidUses_;
    log_.push_back("call " + FileName(bound->second.key) + "!" + bound->second.name + " gone");
    return 0;
  }
  EntryAnswer answer = entry->standing;
  if (!entry->queued.empty()) {
    answer = entry->queued.front();
    entry->queued.pop_front();
  }
  ++entry->calls;
  if (answer.lastError) lastError_ = *answer.lastError;
  log_.push_back("call " + FileName(bound->second.key) + "!" + bound->second.name + " = " +
                 std::to_string(answer.result));
  return answer.result;
}

bool SimModules::FreeLibrary(Module module) {
  auto loaded = loaded_.find(module);
  if (loaded == loaded_.end()) {
    ++invalidUses_;
    lastError_ = static_cast<Dword>(error::kInvalidHandle);
    log_.push_back("free ? invalid module");
    return false;
  }
  std::string name = FileName(loaded->second.key);
  if (Fails("FreeLibrary", error::kInvalidHandle)) {
    log_.push_back("free " + name + " failed");
    return false;
  }
  log_.push_back("free " + name);
  if (--loaded->second.references == 0) {
    loaded_.erase(loaded);
    std::erase_if(procs_, [module](const auto& entry) { return entry.second.module == module; });
  }
  return true;
}

void SimModules::AddLibrary(std::string_view path) {
  Ensure(path).present = true;
}

void SimModules::RemoveLibrary(std::string_view path) {
  auto library = libraries_.find(Lower(path));
  if (library != libraries_.end()) library->second.present = false;
}

void SimModules::SetEntryPoint(std::string_view path, std::string_view name, EntryAnswer answer) {
  Ensure(path).entries[std::string(name)].standing = answer;
}

void SimModules::RemoveEntryPoint(std::string_view path, std::string_view name) {
  auto library = libraries_.find(Lower(path));
  if (library != libraries_.end()) library->second.entries.erase(std::string(name));
}

void SimModules::QueueAnswers(std::string_view path, std::string_view name,
                              std::vector<EntryAnswer> answers) {
  auto& queued = Ensure(path).entries[std::string(name)].queued;
  queued.insert(queued.end(), answers.begin(), answers.end());
}

int SimModules::LoadedCount() const {
  int count = 0;
  for (const auto& [module, loaded] : loaded_) count += loaded.references;
  return count;
}

bool SimModules::IsLoaded(std::string_view path) const {
  std::string key = Lower(path);
  for (const auto& [module, loaded] : loaded_) {
    if (loaded.key == key) return true;
  }
  return false;
}

int SimModules::CallCount(std::string_view path, std::string_view name) const {
  auto library = libraries_.find(Lower(path));
  if (library == libraries_.end()) return 0;
  auto entry = library->second.entries.find(std::string(name));
  return entry == library->second.entries.end() ? 0 : entry->second.calls;
}

SimModules::Library& SimModules::Ensure(std::string_view path) {
  auto [library, added] = libraries_.try_emplace(Lower(path));
  if (added) library->second.path = std::string(path);
  return library->second;
}

SimModules::EntryPoint* SimModules::FindEntry(std::string_view path, std::string_view name) {
  auto library = libraries_.find(Lower(path));
  if (library == libraries_.end()) return nullptr;
  auto entry = library->second.entries.find(std::string(name));
  return entry == library->second.entries.end() ? nullptr : &entry->second;
}

bool SimModules::Fails(const char* call, Long error) {
  if (faults_ == nullptr || !faults_->Fails(call)) return false;
  lastError_ = static_cast<Dword>(error);
  return true;
}

std::string SimModules::FileName(const std::string& key) const {
  auto library = libraries_.find(key);
  return BaseName(library != libraries_.end() ? library->second.path : key);
}

}  // namespace platform::sim
