// The one dialog procedure of every dialog the framework creates.
#pragma once

#include <cstdint>
#include <span>

#include "framework/win32/windows_api.h"

namespace fw {
class MessageTarget;
}

namespace fw::win32 {

// What WM_INITDIALOG's lParam points to (CreateDialogParamA/DialogBoxParamA): the target and
// the template's initialisation data (DLGINIT), which the platform's dialog functions leave
// to the framework.
struct DialogCreation {
  MessageTarget* target = nullptr;
  std::span<const std::uint8_t> dlgInit;
};

// Fills the controls from the initialisation data, then hands the dialog to the target and
// forwards every later message of the dialog to it.
INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace fw::win32
