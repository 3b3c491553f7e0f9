#include "speaker_test/speaker_test_dlg.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "device/failure_reports.h"
#include "device/requests.h"
#include "res/resource.h"
#include "settings/settings_values.h"

namespace korven {

namespace {

// A picture's place in the speaker group (left L, top T, width W, height H):
// left = L + W * xNum / xDen + xOffset, top = T + H * yNum / yDen + yOffset.
struct Placement {
  int xNum, xDen, xOffset;
  int yNum, yDen, yOffset;
};

// One row per channel: its picture control and tone, its lit and idle images, where its
// picture goes, and its place in each order the dialog works through the channels in.
struct Channel {
  int picture;
  int tone;
  int litImage;
  int idleImage;
  Placement place;
  int imageSlot;   // m_hbmPictures holds the lit image at 2 * slot, the idle one after it
  int layoutRank;  // the pictures are moved into place in this order
  int hitRank;     // a Manual press tests the pictures in this order
};

// By channel index; row 0 unused.
constexpr Channel kChannels[CSpeakerTestDlg::kChannelCount + 1] = {
    {},
    {IDC_PICTURE_LF, IDR_WAVE_LF, IDB_LF_LIT, IDB_LF_IDLE, {0, 1, 10, 1, 3, -24}, 0, 0, 0},
    {IDC_PICTURE_CTR, IDR_WAVE_CTR, IDB_CTR_LIT, IDB_CTR_IDLE, {1, 2, -24, 0, 1, 15}, 2, 1, 2},
    {IDC_PICTURE_RF, IDR_WAVE_RF, IDB_RF_LIT, IDB_RF_IDLE, {1, 1, -58, 1, 3, -24}, 1, 2, 4},
    {IDC_PICTURE_RS, IDR_WAVE_RS, IDB_RS_LIT, IDB_RS_IDLE, {1, 1, -58, 2, 3, -24}, 5, 5, 5},
    {IDC_PICTURE_LFE, IDR_WAVE_LFE, IDB_LFE_LIT, IDB_LFE_IDLE, {1, 2, -24, 1, 1, -53}, 3, 3, 3},
    {IDC_PICTURE_LS, IDR_WAVE_LS, IDB_LS_LIT, IDB_LS_IDLE, {0, 1, 10, 2, 3, -24}, 4, 4, 1},
};
// The listener sits in the middle, placed after the six.
constexpr Placement kListenerPlace = {1, 2, -24, 1, 2, -19};

using ChannelOrder = std::array<int, CSpeakerTestDlg::kChannelCount>;

// The channel indexes in the order of one of the ranks; 0 where no channel has a rank.
constexpr ChannelOrder OrderBy(int Channel::*rank) {
  ChannelOrder order{};
  for (int channel = 1; channel <= CSpeakerTestDlg::kChannelCount; ++channel) {
    order[static_cast<std::size_t>(kChannels[channel].*rank)] = channel;
  }
  return order;
}
// Every rank holds each channel once.
constexpr bool HasEveryChannel(const ChannelOrder& order) {
  for (int channel : order) {
    if (channel == 0) return false;
  }
  return true;
}
constexpr ChannelOrder kImageOrder = OrderBy(&Channel::imageSlot);
constexpr ChannelOrder kLayoutOrder = OrderBy(&Channel::layoutRank);
constexpr ChannelOrder kHitTestOrder = OrderBy(&Channel::hitRank);
static_assert(HasEveryChannel(kImageOrder) && HasEveryChannel(kLayoutOrder) &&
              HasEveryChannel(kHitTestOrder));

constexpr int kPictureSize = 48;
constexpr unsigned kAutoPeriodMs = 100;
constexpr unsigned kShortestPeriod = 0;  // the platform's shortest timer period
constexpr int kTicksPerChannel = 10;
constexpr int kTicksPerCycle = 60;
constexpr double kQuarterTurnMs = 1877.5;  // a full turn takes 7,510 ms
// The first 0.00045 of a turn (3.38 ms) re-sends the surround start.
constexpr double kRestartWindow = 0.00045;

constexpr const char kTestReadyImage[] = "TESTU";
constexpr const char kTestRunningImage[] = "TESTD";
constexpr const char kTestDisabledImage[] = "TESTX";

constexpr unsigned kRedrawNow = fw::rdw::kInvalidate | fw::rdw::kErase | fw::rdw::kUpdateNow;

bool IsChannel(int index) {
  return index >= 1 && index <= CSpeakerTestDlg::kChannelCount;
}

double QuarterTurn() {
  static const double quarter = std::asin(1.0);
  return quarter;
}

fw::Rect PlaceIn(const fw::Rect& group, const Placement& p) {
  const int left = group.left + group.Width() * p.xNum / p.xDen + p.xOffset;
  const int top = group.top + group.Height() * p.yNum / p.yDen + p.yOffset;
  return {left, top, left + kPictureSize, top + kPictureSize};
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

CSpeakerTestDlg::CSpeakerTestDlg(fw::WindowSystem& windows, const platform::Platform& platform,
                                 SoundMovementMarker& marker)
    : CDialog(windows, IDD_SPEAKER_TEST),
      m_btnTest(windows),
      m_hDevice(*platform.device),
      m_hKey(*platform.registry),
      sound_(*platform.sound),
      marker_(marker) {}

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
  m_dwTestMode = m_hKey.ReadOrDefault(settings::TestMode);
  m_dwTestBtnStatus = m_hKey.ReadOrDefault(settings::TestBtnStatus);

  // A stored mode outside Auto..Surround selects none of the three.
  CheckRadioButton(IDC_MODE_AUTO, IDC_MODE_SURROUND,
                   IDC_MODE_AUTO - static_cast<int>(AutoMode) + static_cast<int>(m_dwTestMode));
  if (m_dwTestBtnStatus != TestDisabled) {
    m_btnTest.EnableWindow(true);
    ShowTestImage(kTestReadyImage);
  } else {
    m_btnTest.EnableWindow(false);
    ShowTestImage(kTestDisabledImage);
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
  const fw::Rect work{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  for (int channel : kLayoutOrder) {
    m_rcPictures[channel] = PlaceIn(work, kChannels[channel].place);
    Windows().MoveWindow(GetDlgItem(kChannels[channel].picture), m_rcPictures[channel], true);
  }
  Windows().MoveWindow(GetDlgItem(IDC_PICTURE_LISTENER), PlaceIn(work, kListenerPlace), true);
}

void CSpeakerTestDlg::LoadPictures() {
  for (int slot = 0; slot < kChannelCount; ++slot) {
    const Channel& c = kChannels[kImageOrder[static_cast<std::size_t>(slot)]];
    m_hbmPictures[2 * slot] = Windows().LoadBitmap(c.litImage);
    m_hbmPictures[2 * slot + 1] = Windows().LoadBitmap(c.idleImage);
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
  m_dwEnableFilter = m_hKey.ReadOrDefault(settings::EnableFilter);
  m_bShown = 1;
  ShowWindow(fw::sw::kRestore);
  Windows().SetForegroundWindow(m_hWnd);
}

void CSpeakerTestDlg::CloseSpeakerTest() {
  sound_.Purge();
  if (m_dwTestBtnStatus == TestRunning) {
    ShowTestImage(kTestReadyImage);
    EnableModeButtons(true);
    StoreTestBtnStatus(TestReady);
    if (m_dwTestMode == AutoMode) StopAutoTest();
    if (m_dwTestMode == ManualMode) sound_.Purge();
    if (m_dwTestMode == SurroundMode) StopSurroundTest();
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
  ShowTestImage(kTestReadyImage);
  if (!m_hDevice.Send(IOCTL_FILTER_OFF, &m_dwBytesReturned)) {
    ShowTransportErrorReport(*this);
    return;
  }
  StoreTestMode(AutoMode);
  StoreTestBtnStatus(TestReady);
}

void CSpeakerTestDlg::OnManual() {
  if (!m_hDevice.IsOpen()) return;
  m_btnTest.EnableWindow(false);
  ShowTestImage(kTestDisabledImage);
  if (!m_hDevice.Send(IOCTL_FILTER_OFF, &m_dwBytesReturned)) {
    ShowTransportErrorReport(*this);
    return;
  }
  StoreTestMode(ManualMode);
  StoreTestBtnStatus(TestDisabled);
}

void CSpeakerTestDlg::OnSurround() {
  m_btnTest.EnableWindow(true);
  ShowTestImage(kTestReadyImage);
  StoreTestMode(SurroundMode);
  StoreTestBtnStatus(TestReady);
}

void CSpeakerTestDlg::OnTest() {
  // Decided on the stored values, read back on every click; a failed read keeps the field.
  m_hKey.Read(settings::TestMode.name, &m_dwTestMode);
  if (m_dwTestMode == 0 || m_dwTestMode == ManualMode) {
    m_btnTest.EnableWindow(false);
    ShowTestImage(kTestDisabledImage);
    StoreTestBtnStatus(TestDisabled);
    return;
  }
  m_hKey.Read(settings::TestBtnStatus.name, &m_dwTestBtnStatus);
  if (m_dwTestBtnStatus == TestReady) {
    ShowTestImage(kTestRunningImage);
    EnableModeButtons(false);
    StoreTestBtnStatus(TestRunning);
    if (m_dwTestMode == AutoMode) StartAutoTest();
    if (m_dwTestMode == SurroundMode) StartSurroundTest();
  } else if (m_dwTestBtnStatus == TestRunning) {
    ShowTestImage(kTestReadyImage);
    EnableModeButtons(true);
    StoreTestBtnStatus(TestReady);
    if (m_dwTestMode == AutoMode) StopAutoTest();
    if (m_dwTestMode == SurroundMode) StopSurroundTest();
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
  const fw::Rect& r = m_rcPictures[channel];
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
  if (m_dwTestMode != ManualMode) return 0;
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

void CSpeakerTestDlg::RotationTick() {
  // From the time elapsed, not from the ticks counted: ticks come as irregularly as they like.
  const platform::Dword now = sound_.TimeGetTime();
  const double elapsed = static_cast<double>(static_cast<platform::Dword>(now - m_dwRotationStart));
  const double angle = elapsed / (kQuarterTurnMs / QuarterTurn());
  const auto px = static_cast<float>(4.0 * std::sin(angle));
  const auto py = static_cast<float>(4.0 * std::cos(angle));
  const double turns = static_cast<double>(static_cast<float>(angle)) / QuarterTurn() * 0.25;
  const double fraction = turns - std::trunc(turns);
  if (fraction < kRestartWindow && m_hDevice.IsOpen()) {
    // Not examined: the movement runs already.
    m_hDevice.Send(IOCTL_SURROUND_START, &m_dwBytesReturned);
  }
  marker_.Draw(Windows(), m_hWnd, GetDlgItem(IDC_PAD), px, py);
}

}  // namespace korven
