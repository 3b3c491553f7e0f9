// CSpeakerTestDlg: the Speaker Test dialog. Plays a tone through one output channel at a time
// (Auto walks the six channels, Manual plays the one held down) and runs the driver's surround
// movement while the sound movement pad shows where the sound is.
#pragma once

#include <cstdint>

#include "device/device_handle.h"
#include "framework/bitmap_button.h"
#include "framework/dialog.h"
#include "framework/message_map.h"
#include "platform/platform.h"
#include "platform/sound.h"
#include "settings/settings_key.h"
#include "speaker_test/sound_movement_pad.h"

namespace korven {

class CSpeakerTestDlg : public fw::CDialog {
 public:
  // Channel indexes, shared by the Auto sequence, the Manual hit test and the pictures.
  enum : int { LF = 1, CTR = 2, RF = 3, RS = 4, LFE = 5, LS = 6 };
  static constexpr int kChannelCount = 6;
  // TestMode, as stored.
  enum : platform::Dword { AutoMode = 1, ManualMode = 2, SurroundMode = 3 };
  // TestBtnStatus, as stored: TEST disabled, ready to start, running (it stops).
  enum : platform::Dword { TestDisabled = 0, TestReady = 1, TestRunning = 2 };

  // `marker` lasts as long as the process: a later test first restores the pixels under it.
  CSpeakerTestDlg(fw::WindowSystem& windows, const platform::Platform& platform,
                  SoundMovementMarker& marker);
  ~CSpeakerTestDlg() override;
  bool DestroyWindow() override;

  bool IsShown() const { return m_bShown != 0; }
  void OpenSpeakerTest();
  void CloseSpeakerTest();

  std::int32_t m_bShown = 0;
  fw::CBitmapButton m_btnTest;
  DeviceHandle m_hDevice;
  platform::Dword m_dwEnableFilter = 1;
  platform::Dword m_dwTestMode = ManualMode;
  platform::Dword m_dwTestBtnStatus = TestDisabled;
  korven::SettingsKey m_hKey;
  platform::Dword m_dwBytesReturned = 0;
  platform::Dword m_dwRotationStart = 0;
  // The pictures' rectangles in client pixels, by channel index; row 0 unused.
  fw::Rect m_rcPictures[kChannelCount + 1];
  std::int32_t m_nPressed = 0;
  std::int32_t m_nStep = 0;
  std::int32_t m_nTick = 0;
  fw::Hbitmap m_hbmPictures[2 * kChannelCount] = {};

 protected:
  bool OnWndMsg(unsigned msg, fw::WParam wParam, fw::LParam lParam, fw::LResult* result) override;
  bool OnInitDialog() override;
  // The close box and Esc close the test; Enter does nothing.
  void OnCancel() override { OnExit(); }
  void OnOK() override {}

 private:
  void OnAuto();
  void OnManual();
  void OnSurround();
  void OnTest();
  void OnExit() { CloseSpeakerTest(); }
  void OnTimer(std::uintptr_t id);
  fw::LResult OnLButtonDown(fw::WParam keys, fw::LParam point);
  fw::LResult OnLButtonUp(fw::WParam keys, fw::LParam point);
  fw::LResult OnMouseMove(fw::WParam keys, fw::LParam point);

  void StartAutoTest();
  void AutoTick();
  void StopAutoTest();
  void StartSurroundTest();
  void StopSurroundTest();
  // Moves the marker on the sound movement pad.
  void RotationTick();

  void LayOutPictures();
  void LoadPictures();
  void FreePictures();
  // Lit or idle picture of a channel index; other indexes are ignored.
  void SetPicture(int channel, bool lit);
  void PlayTone(int channel);
  bool IsOnPicture(int channel, fw::Point point) const;
  // TEST shows `image` (one bitmap for every state) and is redrawn at once.
  void ShowTestImage(const char* image);
  void EnableModeButtons(bool enable) const;
  void StoreTestMode(platform::Dword mode);
  void StoreTestBtnStatus(platform::Dword status);

  platform::Sound& sound_;
  SoundMovementMarker& marker_;

  static const fw::map::Entry<CSpeakerTestDlg> kMessageMap[];
};

}  // namespace korven
