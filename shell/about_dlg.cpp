#include "shell/about_dlg.h"

#include "res/resource.h"

namespace korven {

CAboutDlg::CAboutDlg(fw::WindowSystem& windows) : fw::CDialog(windows, IDD_ABOUT) {}

}  // namespace korven
