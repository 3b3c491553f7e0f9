// The two message boxes that report a failure of the device channel, owned by the window
// that made the request.
#pragma once

namespace fw {
class CWnd;
}

namespace korven {

// "DATA TRANSPORT ERROR,TRY AGAIN." / "IOCONTROL ERROR", OK only.
void ShowTransportErrorReport(const fw::CWnd& owner);
// "Filter driver was not loaded or failed! ..." / "KORVEN : ERROR", stop icon.
void ShowDriverMissingReport(const fw::CWnd& owner);

}  // namespace korven
