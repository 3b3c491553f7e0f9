#include "platform/sim/sim_shell.h"

#include "platform/sim/fault_plan.h"

namespace platform::sim {

bool SimShell::NotifyIcon(Dword message, const NotifyIconData& data) {
  bool accepted = false;
  std::string line;
  if (message == nim::kAdd) {
    accepted = Add(data);
    line = "add ";
  } else if (message == nim::kDelete) {
    accepted = Delete(data);
    line = "delete ";
  } else {
    line = "message " + std::to_string(message) + " ";
  }
  line += std::to_string(data.uID);
  if (!accepted) line += " refused";
  log_.push_back(std::move(line));
  return accepted;
}

bool SimShell::Add(const NotifyIconData& data) {
  if (faults_ != nullptr && faults_->Fails("Shell_NotifyIconA")) return false;
  if (refuseAdds_) return false;
  if (data.cbSize != NotifyIconData::kFirstFormSize || data.hWnd == WindowRef{}) return false;
  return icons_.emplace(Key{data.hWnd, data.uID}, data).second;
}

bool SimShell::Delete(const NotifyIconData& data) {
  if (faults_ != nullptr && faults_->Fails("Shell_NotifyIconA")) return false;
  if (data.cbSize != NotifyIconData::kFirstFormSize) return false;
  return icons_.erase(Key{data.hWnd, data.uID}) != 0;
}

const NotifyIconData* SimShell::FindIcon(WindowRef owner, unsigned id) const {
  auto it = icons_.find(Key{owner, id});
  return it == icons_.end() ? nullptr : &it->second;
}

std::vector<NotifyIconData> SimShell::Icons() const {
  std::vector<NotifyIconData> shown;
  for (const auto& [key, data] : icons_) shown.push_back(data);
  return shown;
}

}  // namespace platform::sim
