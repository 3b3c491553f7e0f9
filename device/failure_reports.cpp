#include "device/failure_reports.h"

#include "framework/wnd.h"
#include "res/resource.h"

namespace korven {

void ShowTransportErrorReport(const fw::CWnd& owner) {
  owner.MessageBox(owner.LoadString(IDS_TRANSPORT_ERROR), owner.LoadString(IDS_IOCONTROL_ERROR),
                   fw::mb::kOk);
}

void ShowDriverMissingReport(const fw::CWnd& owner) {
  owner.MessageBox(owner.LoadString(IDS_DRIVER_MISSING), owner.LoadString(IDS_CAPTION_ERROR),
                   fw::mb::kIconHand);
}

}  // namespace korven
