// A dialog's initialisation data (DLGINIT) in the headless window system: the strings its
// combo and list boxes start with.
#include <string>

#include "framework/headless/headless_window_system.h"
#include "framework/resources/dlg_init.h"

namespace fw::headless {

void HeadlessWindowSystem::ApplyDlgInit(Hwnd dialog, int templateId) {
  if (templateId <= 0 || templateId > 0xFFFF) return;
  const res::ResourceEntry* entry =
      resources_->Find(res::ResourceId::Number(res::kTypeDlgInit),
                       res::ResourceId::Number(static_cast<std::uint16_t>(templateId)));
  if (entry == nullptr) return;
  const auto records = res::ParseDlgInit(entry->data);
  if (!records) return;
  for (const res::DlgInitRecord& record : *records) {
    // The data keeps the 16-bit platform's message numbers.
    unsigned message = 0;
    if (record.message == res::kDlgInitComboAddString) message = cb::kAddString;
    if (record.message == res::kDlgInitListAddString) message = lb::kAddString;
    if (message == 0) continue;
    const std::string text = record.Text();
    SendMessage(GetDlgItem(dialog, record.controlId), message, 0,
                reinterpret_cast<LParam>(text.c_str()));
  }
}

}  // namespace fw::headless
