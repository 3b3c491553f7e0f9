#include "shell/information_page.h"

#include "res/resource.h"

namespace korven {

CInformationPage::CInformationPage(fw::WindowSystem& windows)
    : fw::CPropertyPage(windows, IDD_INFORMATION) {}

}  // namespace korven
