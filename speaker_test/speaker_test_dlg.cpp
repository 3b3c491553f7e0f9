#include "speaker_test/speaker_test_dlg.h"

#include "device/failure_reports.h"
#include "device/requests.h"
#include "res/resource.h"
#include "settings/settings_values.h"

namespace korven {

// One row per channel: its picture control, the pair of its images in m_hbmPictures, its
// tone and where its picture's rectangle is recorded.
struct CSpeakerTestDlg::Channel {
  int picture;
  int imageSlot;  // lit image at 2 * slot, idle at 2 * slot + 1
  int tone;
  fw::Rect CSpeakerTestDlg::*rect;
};

const CSpeakerTestDlg::Channel CSpeakerTestDlg::kChannels[kChannelCount + 1] = {
    {0, 0, 0, nullptr},
    {IDC_PICTURE_LF, 0, IDR_WAVE_LF, &CSpeakerTestDlg::m_rcLF},
    {IDC_PICTURE_CTR, 2, IDR_WAVE_CTR, &CSpeakerTestDlg::m_rcCTR},
    {IDC_PICTURE_RF, 1, IDR_WAVE_RF, &CSpeakerTestDlg::m_rcRF},
    {IDC_PICTURE_RS, 5, IDR_WAVE_RS, &CSpeakerTestDlg::m_rcRS},
    {IDC_PICTURE_LFE, 3, IDR_WAVE_LFE, &CSpeakerTestDlg::m_rcLFE},
    {IDC_PICTURE_LS, 4, IDR_WAVE_LS, &CSpeakerTestDlg::m_rcLS},
};

// A picture's place in the speaker group (left L, top T, width W, height H):
// left = L + W * xNum / xDen + xOffset, top = T + H * yNum / yDen + yOffset.
struct CSpeakerTestDlg::Placement {
  int picture;
  int xNum, xDen, xOffset;
  int yNum, yDen, yOffset;
  fw::Rect CSpeakerTestDlg::*record;  // null: not recorded
};

const CSpeakerTestDlg::Placement CSpeakerTestDlg::kLayout[] = {
    {IDC_PICTURE_LF, 0, 1, 10, 1, 3, -24, &CSpeakerTestDlg::m_rcLF},
    {IDC_PICTURE_CTR, 1, 2, -24, 0, 1, 15, &CSpeakerTestDlg::m_rcCTR},
    {IDC_PICTURE_RF, 1, 1, -58, 1, 3, -24, &CSpeakerTestDlg::m_rcRF},
    {IDC_PICTURE_LFE, 1, 2, -24, 1, 1, -53, &CSpeakerTestDlg::m_rcLFE},
    {IDC_PICTURE_LS, 0, 1, 10, 2, 3, -24, &CSpeakerTestDlg::m_rcLS},
    {IDC_PICTURE_RS, 1, 1, -58, 2, 3, -24, &CSpeakerTestDlg::m_rcRS},
    {IDC_PICTURE_LISTENER, 1, 2, -24, 1, 2, -19, nullptr},
};

namespace {

constexpr int kPictureSize = 48;
constexpr unsigned kAutoPeriodMs = 100;
constexpr unsigned kShortestPeriod = 0;  // the platform's shortest timer period
constexpr int kTicksPerChannel = 10;
constexpr int kTicksPerCycle = 60;

// Images in m_hbmPictures order: lit then idle of LF, RF, CTR, LFE, LS, RS.
constexpr int kPictureImages[] = {
    IDB_LF_LIT,  IDB_LF_IDLE,  IDB_RF_LIT, IDB_RF_IDLE, IDB_CTR_LIT, IDB_CTR_IDLE,
    IDB_LFE_LIT, IDB_LFE_IDLE, IDB_LS_LIT, IDB_LS_IDLE, IDB_RS_LIT,  IDB_RS_IDLE,
};

// Manual presses test the pictures in this order.
constexpr int kHitTestOrder[] = {CSpeakerTestDlg::LF,  CSpeakerTestDlg::LS, CSpeakerTestDlg::CTR,
                                 CSpeakerTestDlg::LFE, CSpeakerTestDlg::RF, CSpeakerTestDlg::RS};

constexpr const char kTestReady[] = "TESTU";
constexpr const char kTestRunning[] = "TESTD";
constexpr const char kTestDisabled[] = "TESTX";

constexpr unsigned kRedrawNow = fw::rdw::kInvalidate | fw::rdw::kErase | fw::rdw::kUpdateNow;

bool IsChannel(int index) {
  return index >= 1 && index <= CSpeakerTestDlg::kChannelCount;
}

}  // namespace

const fw::map::Entry<CSpeakerTestDlg> CSpeakerTestDlg::kMessageMap[] = {
    fw::map::Command(IDC_MODE_AUTO, &CSpeakerTestDlg::OnAuto),
    fw::map::Command(IDC_MODE_MANUAL, &CSpeakerTestDlg::OnManual),
    fw::map::Command(IDC_MODE_SURROUND, &CSpeakerTestDlg::OnSurround),
    fw::map::Command(IDC_TEST, &CSpeakerTestDlg::OnTest),
    fw::map::Command(IDC_EXIT, &CSpeakerTestDlg::OnExit),
    fw::map::Timer(&CSpeakerTestDlg::OnTimer),
    fw::map::Message(fw::wm::kLButtonDown, &CSpeakerTestDlg::OnLButtonDown),
    fw::map::Message(fw::wm::kLButtonUp, &CSpeakerTestDlg::OnLButtonUp),
    fw::map::Message(fw::wm::kMouseMove, &CSpeakerTestDlg::OnMouseMove),
};

CSpeakerTestDlg::CSpeakerTestDlg(fw::WindowSystem& windows, const platform::Platform& platform)
    : CDialog(windows, IDD_SPEAKER_TEST),
      m_btnTest(windows),
      m_hDevice(*platform.device),
      m_hKey(*platform.registry),
      sound_(*platform.sound) {}

CSpeakerTestDlg::~CSpeakerTestDlg() {
  // Normally DestroyWindow has freed them; an object deleted without it must not leak them.
  FreePictures();
}

bool CSpeakerTestDlg::OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam,
                               fw::LResult* result) {
  // Timers of other ids get the default processing.
  if (msg == fw::wm::kTimer && wParam != IDT_ROTATION && wParam != IDT_AUTO_SEQUENCE) {
    return CDialog::OnWndMsg(msg, wParam, lParam, result);
  }
  return fw::map::Dispatch(this, kMessageMap, msg, wParam, lParam, result) ||
         CDialog::OnWndMsg(msg, wParam, lParam, result);
}

// --- Life --------------------------------------------------------------------------------

bool CSpeakerTestDlg::OnInitDialog() {
  m_btnTest.SubclassDlgItem(IDC_TEST, *this);
  LayOutPictures();

  m_hKey.Open(LoadString(IDS_SETTINGS_KEY));
  m_cbValue = 4;
  m_dwTestMode = m_hKey.ReadOrDefault(settings::TestMode);
  m_cbValue = 4;
  m_dwTestBtnStatus = m_hKey.ReadOrDefault(settings::TestBtnStatus);

  // A stored mode outside 1..3 selects none of the three.
  CheckRadioButton(IDC_MODE_AUTO, IDC_MODE_SURROUND,
                   IDC_MODE_AUTO - 1 + static_cast<int>(m_dwTestMode));
  if (m_dwTestBtnStatus != 0) {
    m_btnTest.EnableWindow(true);
    ShowTestImage(kTestReady);
  } else {
    m_btnTest.EnableWindow(false);
    ShowTestImage(kTestDisabled);
  }
  m_nPressed = 0;
  m_nStep = 0;
  m_nTick = 0;
  LoadPictures();
  return CDialog::OnInitDialog();
}

void CSpeakerTestDlg::LayOutPictures() {
  const fw::Rect group = Windows().GetWindowRect(GetDlgItem(IDC_SPEAKER_GROUP));
  const fw::Point topLeft = Windows().ScreenToClient(m_hWnd, {group.left, group.top});
  const fw::Point bottomRight = Windows().ScreenToClient(m_hWnd, {group.right, group.bottom});
  m_rcWork = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  const int L = m_rcWork.left;
  const int T = m_rcWork.top;
  const int W = m_rcWork.Width();
  const int H = m_rcWork.Height();
  for (const Placement& p : kLayout) {
    const int left = L + W * p.xNum / p.xDen + p.xOffset;
    const int top = T + H * p.yNum / p.yDen + p.yOffset;
    const fw::Rect rect{left, top, left + kPictureSize, top + kPictureSize};
    Windows().MoveWindow(GetDlgItem(p.picture), rect, true);
    if (p.record != nullptr) this->*p.record = rect;
  }
}

void CSpeakerTestDlg::LoadPictures() {
  for (int i = 0; i < 2 * kChannelCount; ++i) {
    m_hbmPictures[i] = Windows().LoadBitmap(kPictureImages[i]);
  }
}

void CSpeakerTestDlg::FreePictures() {
  // The lit images, then the idle ones.
  for (int first : {0, 1}) {
    for (int i = first; i < 2 * kChannelCount; i += 2) {
      if (m_hbmPictures[i] != nullptr) Windows().DeleteObject(m_hbmPictures[i]);
      m_hbmPictures[i] = nullptr;
    }
  }
}

void CSpeakerTestDlg::OpenSpeakerTest() {
  // Opening again would strand the handle that is open.
  if (m_bShown) return;
  if (!m_hDevice.Open()) {
    ShowDriverMissingReport(*this);
    return;
  }
  if (!m_hDevice.Send(IOCTL_FILTER_OFF, &m_dwBytesReturned)) ShowTransportErrorReport(*this);
  m_dwEnableFilter = 1;
  m_cbValue = 4;
  m_dwEnableFilter = m_hKey.ReadOrDefault(settings::EnableFilter);
  m_bShown = 1;
  ShowWindow(fw::sw::kRestore);
  Windows().SetForegroundWindow(m_hWnd);
}

void CSpeakerTestDlg::CloseSpeakerTest() {
  sound_.Purge();
  if (m_dwTestBtnStatus == 2) {
    ShowTestImage(kTestReady);
    EnableModeButtons(true);
    StoreTestBtnStatus(1);
    if (m_dwTestMode == 1) StopAutoTest();
    if (m_dwTestMode == 2) sound_.Purge();
    if (m_dwTestMode == 3) StopSurroundTest();
  }
  if (m_bShown && m_hDevice.IsOpen()) {
    const platform::Dword restore = m_dwEnableFilter != 0 ? IOCTL_FILTER_ON : IOCTL_FILTER_OFF;
    if (!m_hDevice.Send(restore, &m_dwBytesReturned)) ShowTransportErrorReport(*this);
    m_hDevice.Close();
  }
  // A stop whose filter request failed leaves the rotation running; a hidden dialog has no
  // use for a timer at the shortest period.
  KillTimer(IDT_ROTATION);
  sound_.PlayResource(IDR_WAVE_SILENCE, false);
  m_bShown = 0;
  ShowWindow(fw::sw::kHide);
}

bool CSpeakerTestDlg::DestroyWindow() {
  CloseSpeakerTest();
  m_hKey.Close();
  FreePictures();
  return CDialog::DestroyWindow();
}

// --- Mode buttons and TEST ---------------------------------------------------------------

void CSpeakerTestDlg::OnAuto() {
  if (!m_hDevice.IsOpen()) return;
  m_btnTest.EnableWindow(true);
  ShowTestImage(kTestReady);
  if (!m_hDevice.Send(IOCTL_FILTER_OFF, &m_dwBytesReturned)) {
    ShowTransportErrorReport(*this);
    return;
  }
  StoreTestMode(1);
  StoreTestBtnStatus(1);
}

void CSpeakerTestDlg::OnManual() {
  if (!m_hDevice.IsOpen()) return;
  m_btnTest.EnableWindow(false);
  ShowTestImage(kTestDisabled);
  if (!m_hDevice.Send(IOCTL_FILTER_OFF, &m_dwBytesReturned)) {
    ShowTransportErrorReport(*this);
    return;
  }
  StoreTestMode(2);
  StoreTestBtnStatus(0);
}

void CSpeakerTestDlg::OnSurround() {
  m_btnTest.EnableWindow(true);
  ShowTestImage(kTestReady);
  StoreTestMode(3);
  StoreTestBtnStatus(1);
}

void CSpeakerTestDlg::OnTest() {
  // Decided on the stored values, read back on every click; a failed read keeps the field.
  m_cbValue = 4;
  m_hKey.Read(settings::TestMode.name, &m_dwTestMode);
  if (m_dwTestMode == 0 || m_dwTestMode == 2) {
    m_btnTest.EnableWindow(false);
    ShowTestImage(kTestDisabled);
    StoreTestBtnStatus(0);
    return;
  }
  m_cbValue = 4;
  m_hKey.Read(settings::TestBtnStatus.name, &m_dwTestBtnStatus);
  if (m_dwTestBtnStatus == 1) {
    ShowTestImage(kTestRunning);
    EnableModeButtons(false);
    StoreTestBtnStatus(2);
    if (m_dwTestMode == 1) StartAutoTest();
    if (m_dwTestMode == 3) StartSurroundTest();
  } else if (m_dwTestBtnStatus == 2) {
    ShowTestImage(kTestReady);
    EnableModeButtons(true);
    StoreTestBtnStatus(1);
    if (m_dwTestMode == 1) StopAutoTest();
    if (m_dwTestMode == 3) StopSurroundTest();
  }
}

void CSpeakerTestDlg::ShowTestImage(const char* image) {
  m_btnTest.LoadBitmaps(image);
  m_btnTest.RedrawWindow(kRedrawNow);
}

void CSpeakerTestDlg::EnableModeButtons(bool enable) const {
  for (int id = IDC_MODE_AUTO; id <= IDC_MODE_SURROUND; ++id) EnableDlgItem(id, enable);
}

void CSpeakerTestDlg::StoreTestMode(platform::Dword mode) {
  m_dwTestMode = mode;
  m_hKey.WriteDword(settings::TestMode.name, mode);
}

void CSpeakerTestDlg::StoreTestBtnStatus(platform::Dword status) {
  m_dwTestBtnStatus = status;
  m_hKey.WriteDword(settings::TestBtnStatus.name, status);
}

void CSpeakerTestDlg::OnTimer(std::uintptr_t id) {
  if (id == IDT_ROTATION) RotationTick();
  if (id == IDT_AUTO_SEQUENCE) AutoTick();
}

// --- Pictures and tones ------------------------------------------------------------------

void CSpeakerTestDlg::SetPicture(int channel, bool lit) {
  if (!IsChannel(channel)) return;
  const Channel& c = kChannels[channel];
  const fw::Hbitmap image = m_hbmPictures[2 * c.imageSlot + (lit ? 0 : 1)];
  Windows().SendMessage(GetDlgItem(c.picture), fw::stm::kSetImage, fw::stm::kImageBitmap,
                        reinterpret_cast<fw::LParam>(image));
}

void CSpeakerTestDlg::PlayTone(int channel) {
  if (IsChannel(channel)) sound_.PlayResource(kChannels[channel].tone, true);
}

bool CSpeakerTestDlg::IsOnPicture(int channel, fw::Point point) const {
  const fw::Rect& r = this->*kChannels[channel].rect;
  return point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom;
}

// --- Auto --------------------------------------------------------------------------------

void CSpeakerTestDlg::StartAutoTest() {
  SetTimer(IDT_AUTO_SEQUENCE, kAutoPeriodMs);
  --m_nStep;
  SetPicture(m_nStep, false);
  m_nStep = 1;
  m_nTick = 0;
}

void CSpeakerTestDlg::AutoTick() {
  if (m_nStep == 0) return;
  // Step s blinks channel s - 1, lit on even ticks.
  if (m_nStep >= 2 && m_nStep <= kChannelCount + 1) SetPicture(m_nStep - 1, m_nTick % 2 == 0);
  if (m_nTick % kTicksPerChannel == 0) {
    if (m_nStep == 1) {
      PlayTone(LF);
    } else if (m_nStep >= 2 && m_nStep <= kChannelCount) {
      PlayTone(m_nStep);
      SetPicture(m_nStep - 1, false);
    }
    ++m_nStep;
  }
  if (++m_nTick == kTicksPerCycle) {
    m_nTick = 0;
    m_nStep = 1;
    SetPicture(LS, false);
  }
}

void CSpeakerTestDlg::StopAutoTest() {
  --m_nStep;
  SetPicture(m_nStep, false);  // the one that was blinking
  m_nTick = 0;
  KillTimer(IDT_AUTO_SEQUENCE);
  m_nStep = 0;
  sound_.Purge();
}

// --- Manual ------------------------------------------------------------------------------

fw::LResult CSpeakerTestDlg::OnLButtonDown(fw::WParam, fw::LParam lParam) {
  if (m_dwTestMode != 2) return 0;
  const fw::Point point = fw::PointFromLParam(lParam);
  for (int channel : kHitTestOrder) {
    if (!IsOnPicture(channel, point)) continue;
    SetPicture(channel, true);
    m_nPressed = channel;
    PlayTone(channel);
  }
  return 0;
}

fw::LResult CSpeakerTestDlg::OnLButtonUp(fw::WParam, fw::LParam) {
  if (m_nPressed != 0) {
    sound_.Purge();
    SetPicture(m_nPressed, false);
  }
  m_nPressed = 0;
  return 0;
}

fw::LResult CSpeakerTestDlg::OnMouseMove(fw::WParam, fw::LParam lParam) {
  // Moving back onto the picture does not play again.
  if (m_nPressed == 0 || IsOnPicture(m_nPressed, fw::PointFromLParam(lParam))) return 0;
  sound_.Purge();
  SetPicture(m_nPressed, false);
  m_nPressed = 0;
  return 0;
}

// --- Surround ----------------------------------------------------------------------------

void CSpeakerTestDlg::StartSurroundTest() {
  if (!m_hDevice.IsOpen()) return;
  if (!m_hDevice.Send(IOCTL_FILTER_ON, &m_dwBytesReturned)) {
    ShowTransportErrorReport(*this);
    return;
  }
  if (!m_hDevice.Send(IOCTL_SURROUND_START, &m_dwBytesReturned)) ShowTransportErrorReport(*this);
  sound_.PlayMemoryLoop(sound_.LoadWave(IDR_WAVE_ROTATION));
  m_dwRotationStart = sound_.TimeGetTime();
  SetTimer(IDT_ROTATION, kShortestPeriod);
}

void CSpeakerTestDlg::StopSurroundTest() {
  if (!m_hDevice.IsOpen()) return;
  if (!m_hDevice.Send(IOCTL_FILTER_OFF, &m_dwBytesReturned)) {
    ShowTransportErrorReport(*this);
    return;
  }
  sound_.Purge();
  sound_.StopMemory();
  if (!m_hDevice.Send(IOCTL_SURROUND_STOP, &m_dwBytesReturned)) ShowTransportErrorReport(*this);
  // The marker stays where it was drawn last.
  KillTimer(IDT_ROTATION);
}

}  // namespace korven
