// Libraries as the system sees them: present or absent by full path, each with the entry
// points it exports and what every call of one answers (its result and the last-error value
// it leaves). Loads are counted references, as the platform keeps them; every load, look-up,
// call and unload is logged in order, and module and entry-point values are never reused so
// that a stale one shows.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/modules.h"

namespace platform::sim {

class FaultPlan;

// What one call of an entry point answers. `lastError` is left in the thread's last-error
// value when set; otherwise that value stays as it was.
struct EntryAnswer {
  int result = 0;
  std::optional<Dword> lastError;
};

class SimModules : public Modules {
 public:
  static constexpr char kDefaultProgramPath[] = "C:\\Program Files\\TALVOR\\KORVEN\\korven.exe";

  explicit SimModules(FaultPlan* faults = nullptr) : faults_(faults) {}

  // Modules
  std::string GetModuleFileName() override;
  Module LoadLibrary(const char* path) override;
  Proc GetProcAddress(Module module, const char* name) override;
  int CallProc(Proc proc) override;
  bool FreeLibrary(Module module) override;
  Dword GetLastError() override { return lastError_; }

  // The program's own file; an empty path makes GetModuleFileName fail.
  void SetProgramPath(std::string path) { programPath_ = std::move(path); }
  // `fileName` in the program's directory.
  std::string BesideProgram(std::string_view fileName) const;

  // Libraries by full path (compared without regard to case). Adding one that is present
  // keeps its entry points; removing one that is loaded leaves the loaded copy working.
  void AddLibrary(std::string_view path);
  void RemoveLibrary(std::string_view path);
  // An entry point of a present library (added when missing) and its standing answer.
  void SetEntryPoint(std::string_view path, std::string_view name, EntryAnswer answer = {});
  void RemoveEntryPoint(std::string_view path, std::string_view name);
  // Answers for the next calls of an entry point, before its standing answer.
  void QueueAnswers(std::string_view path, std::string_view name, std::vector<EntryAnswer> answers);
  // Sets the thread's last-error value, as any earlier call might have left it.
  void SetLastError(Dword error) { lastError_ = error; }

  // Log lines, in order: "load Zelfilter.dll", "load Zelfilter.dll failed",
  // "find Zelfilter.dll!IsDeviceInstalled", "find ... missing", "call
  // Zelfilter.dll!IsDeviceInstalled = 1", "free Zelfilter.dll". Libraries by file name.
  const std::vector<std::string>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }
  // Full paths of every LoadLibrary, loaded or not, in order.
  const std::vector<std::string>& LoadPaths() const { return loadPaths_; }
  void ClearLoadPaths() { loadPaths_.clear(); }

  // References held on every library together; 0 when everything loaded has been unloaded.
  int LoadedCount() const;
  bool IsLoaded(std::string_view path) const;
  // Calls of an entry point so far.
  int CallCount(std::string_view path, std::string_view name) const;
  // Look-ups, calls and unloads made with a module or entry point that isn't loaded.
  int InvalidUses() const { return invalidUses_; }

 private:
  struct EntryPoint {
    EntryAnswer standing;
    std::deque<EntryAnswer> queued;
    int calls = 0;
  };
  struct Library {
    std::string path;  // as first given
    bool present = true;
    std::map<std::string, EntryPoint> entries;
  };
  struct LoadedLibrary {
    std::string key;  // into libraries_
    int references = 0;
  };
  struct BoundProc {
    Module module;
    std::string key;
    std::string name;
  };

  Library& Ensure(std::string_view path);
  EntryPoint* FindEntry(std::string_view path, std::string_view name);
  bool Fails(const char* call, Long error);
  std::string FileName(const std::string& key) const;

  FaultPlan* faults_;
  std::string programPath_ = kDefaultProgramPath;
  Dword lastError_ = 0;
  std::map<std::string, Library> libraries_;  // by lower-case path
  std::map<Module, LoadedLibrary> loaded_;
  std::map<Proc, BoundProc> procs_;
  std::uintptr_t nextModule_ = 0x10000000;
  std::uintptr_t nextProc_ = 0x20000000;
  std::vector<std::string> log_;
  std::vector<std::string> loadPaths_;
  int invalidUses_ = 0;
};

}  // namespace platform::sim
