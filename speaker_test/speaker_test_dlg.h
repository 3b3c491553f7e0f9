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

namespace korven {

class CSpeakerTestDlg : public fw::CDialog {
 public:
  // Channel indexes, shared by the Auto sequence, the Manual hit test and the pictures.
  enum : int { LF = 1, CTR = 2, RF = 3, RS = 4, LFE = 5, LS = 6 };
  static constexpr int kChannelCount = 6;

  CSpeakerTestDlg(fw::WindowSystem& windows, const platform::Platform& platform);
  ~CSpeakerTestDlg() override;
  bool DestroyWindow() override;

  bool IsShown() const { return m_bShown != 0; }
  void OpenSpeakerTest();
  void CloseSpeakerTest();

  std::int32_t m_bShown = 0;
  fw::CBitmapButton m_btnTest;
  DeviceHandle m_hDevice;
  platform::Dword m_dwEnableFilter = 1;
  platform::Dword m_dwTestMode = 2;
  platform::Dword m_dwTestBtnStatus = 0;
  platform::Dword m_cbValue = 4;
  korven::SettingsKey m_hKey;
  platform::Dword m_dwBytesReturned = 0;
  platform::Dword m_dwRotationStart = 0;
  fw::Rect m_rcWork;
  fw::Rect m_rcLF, m_rcCTR, m_rcRF, m_rcLS, m_rcRS, m_rcLFE;
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
  struct Channel;
  struct Placement;
  static const Channel kChannels[kChannelCount + 1];  // by channel index; row 0 unused
  static const Placement kLayout[];

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
  // The sound movement pad.
  void RotationTick();
  void DrawMarker(float px, float py);

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

  static const fw::map::Entry<CSpeakerTestDlg> kMessageMap[];
};

}  // namespace korven
