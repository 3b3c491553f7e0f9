// CInformationPage: the sheet's "About" page with the product name, version and date. It
// has no behaviour of its own; the Control Panel window selects it when the device goes.
#pragma once

#include "framework/property_page.h"

namespace korven {

class CInformationPage : public fw::CPropertyPage {
 public:
  explicit CInformationPage(fw::WindowSystem& windows);

  static constexpr const char* kClassName = "CInformationPage";
};

}  // namespace korven
