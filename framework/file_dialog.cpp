#include "framework/file_dialog.h"

#include <string_view>

namespace fw {

namespace {

// "description|patterns|...||" into pairs; a trailing description without patterns is
// dropped, as the platform ignores it.
std::vector<FileFilter> ParseFilter(const char* filter) {
  std::vector<FileFilter> filters;
  if (filter == nullptr) return filters;
  std::string_view rest(filter);
  auto next = [&rest]() {
    const auto bar = rest.find('|');
    const std::string_view part = rest.substr(0, bar);
    rest.remove_prefix(bar == std::string_view::npos ? rest.size() : bar + 1);
    return std::string(part);
  };
  while (!rest.empty()) {
    std::string description = next();
    if (description.empty()) break;  // the closing "||"
    std::string patterns = next();
    if (patterns.empty()) break;
    filters.push_back({std::move(description), std::move(patterns)});
  }
  return filters;
}

}  // namespace

CFileDialog::CFileDialog(WindowSystem& windows, const char* defaultExtension, const char* fileName,
                         std::uint32_t flags, const char* filter, CWnd* parent)
    : windows_(windows), m_pParentWnd(parent) {
  m_ofn.defaultExtension = defaultExtension != nullptr ? defaultExtension : "";
  m_ofn.fileName = fileName != nullptr ? fileName : "";
  m_ofn.flags = flags;
  m_ofn.filters = ParseFilter(filter);
}

std::intptr_t CFileDialog::DoModal() {
  const CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : windows_.GetMainWnd();
  m_ofn.owner = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
  std::optional<std::string> chosen = windows_.RunOpenFileDialog(m_ofn);
  m_strPathName = chosen.value_or(std::string());
  return chosen ? kIdOk : kIdCancel;
}

}  // namespace fw
