#include "framework/property_page.h"

namespace fw {

bool CPropertyPage::OnSetActive() {
  if (m_bFirstSetActive) {
    m_bFirstSetActive = false;
  } else {
    UpdateData(false);
  }
  return true;
}

bool CPropertyPage::OnKillActive() { return UpdateData(true); }

}  // namespace fw
