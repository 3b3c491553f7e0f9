// The notification area and the platform's version as a test sets them. The shell checks
// each record as the real one does (size, owner, a duplicate add, a delete of an icon that
// is not there), keeps the icons that are shown, logs every call in order and can refuse
// adds.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/shell.h"

namespace platform::sim {

class FaultPlan;

class SimShell : public Shell {
 public:
  // Windows XP: major 5, minor 1, build 2600.
  static constexpr Dword kDefaultVersion = 0x0A280105;

  explicit SimShell(FaultPlan* faults = nullptr) : faults_(faults) {}

  // Shell
  bool NotifyIcon(Dword message, const NotifyIconData& data) override;
  Dword GetVersion() override { return version_; }

  void SetVersion(Dword version) { version_ = version; }
  void SetMajorVersion(unsigned major) { version_ = (version_ & ~Dword{0xFF}) | (major & 0xFF); }
  // While set, every add is refused.
  void RefuseAdds(bool refuse) { refuseAdds_ = refuse; }
  // The shell ends and starts again (an Explorer restart): every icon it showed is gone.
  void Restart() { icons_.clear(); }

  // The icons shown, by owner window and identifier, as they were added.
  std::size_t IconCount() const { return icons_.size(); }
  const NotifyIconData* FindIcon(WindowRef owner, unsigned id) const;
  std::vector<NotifyIconData> Icons() const;
  // Log lines, in order: "add 139", "add 139 refused", "delete 139", "delete 139 refused".
  const std::vector<std::string>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }

 private:
  using Key = std::pair<WindowRef, unsigned>;

  bool Add(const NotifyIconData& data);
  bool Delete(const NotifyIconData& data);

  FaultPlan* faults_;
  Dword version_ = kDefaultVersion;
  bool refuseAdds_ = false;
  std::map<Key, NotifyIconData> icons_;
  std::vector<std::string> log_;
};

}  // namespace platform::sim
