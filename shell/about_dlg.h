// CAboutDlg: the product's About box, created hidden at start-up with no parent and shown
// from the tray menu's About. OK, Esc and the close box only hide it again.
#pragma once

#include "framework/dialog.h"

namespace korven {

class CAboutDlg : public fw::CDialog {
 public:
  explicit CAboutDlg(fw::WindowSystem& windows);
};

}  // namespace korven
