#include "device/error_codes.h"

#include "framework/window_system.h"
#include "res/resource.h"

namespace korven {

static_assert(ErrorStringId(kErrorUnknown) == IDS_ERROR_UNKNOWN);
static_assert(ErrorStringId(kErrorDllMissing) == IDS_ERROR_DLL_MISSING);
static_assert(ErrorStringId(kErrorHidDllMissing) == IDS_ERROR_HID_DLL_MISSING);
static_assert(ErrorStringId(kErrorNotInstalled) == IDS_ERROR_NOT_INSTALLED);
static_assert(ErrorStringId(kErrorNotPluggedIn) == IDS_ERROR_NOT_PLUGGED);
static_assert(ErrorStringId(kErrorReboot) == IDS_ERROR_REBOOT);

void ShowErrorCode(fw::WindowSystem& windows, std::int32_t code) {
  std::string text = windows.LoadString(ErrorStringId(code));
  std::string caption = windows.LoadString(IDS_CAPTION_WARNING);
  windows.MessageBox(nullptr, text, caption, fw::mb::kOk | fw::mb::kIconExclamation);
}

}  // namespace korven
