/* The floor for bench/wine_idle_bench.sh: the device and sound traffic korven.exe must make in
 * the tray with its Filter page selected, and nothing else.
 *   - one visible dialog and a message loop;
 *   - every 200 ms: open the device path, ask for the source channels, play the silent clip
 *     asynchronously when a source is detected, close the handle;
 *   - every 300 ms: ask again on a handle kept open, and set an edit control's text only when
 *     the answer changed.
 * Needs user32 and winmm only; the clip is built in memory. */
#include "bench_dialog.h"
/* After windows.h. */
#include <mmsystem.h>

#define DEVICE_PATH "\\\\.\\Class#E96C&0C45"
#define IOCTL_GET_SOURCE_CHANNELS 0x223034
#define ID_POLL 1
#define ID_DISPLAY 2
#define ID_TEXT 1000

/* The 188-byte silent clip: 10 frames of 6 channels, 16 bits, 48 kHz, in an extensible format
 * record, as korven.exe's own. */
#pragma pack(push, 1)
static struct {
  char riff[4];
  DWORD riffSize;
  char wave[4];
  char fmt[4];
  DWORD fmtSize;
  WORD formatTag, channels;
  DWORD rate, bytesPerSecond;
  WORD blockAlign, bits, extension, validBits;
  DWORD channelMask;
  BYTE subFormat[16];
  char data[4];
  DWORD dataSize;
  BYTE samples[120];
} kSilence = {{'R', 'I', 'F', 'F'},
              180,
              {'W', 'A', 'V', 'E'},
              {'f', 'm', 't', ' '},
              40,
              0xFFFE,
              6,
              48000,
              48000 * 12,
              12,
              16,
              22,
              16,
              0x3F,
              {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xaa, 0x00, 0x38,
               0x9b, 0x71},
              {'d', 'a', 't', 'a'},
              120,
              {0}};
#pragma pack(pop)

static HANDLE display = INVALID_HANDLE_VALUE; /* kept open for the 300 ms display */
static int shown = -1;                        /* the answer the text shows */

/* 2: a 5.1-channel source, 1: a 2-channel one, 0: none, -1: no answer. */
static int SourceKind(HANDLE device) {
  BYTE reply[4] = {0};
  DWORD returned = 0;
  if (!DeviceIoControl(device, IOCTL_GET_SOURCE_CHANNELS, NULL, 0, reply, sizeof reply, &returned,
                       NULL)) {
    return -1;
  }
  return reply[0] != 0 ? 2 : reply[1] != 0 ? 1 : 0;
}

static HANDLE OpenDevice(void) {
  return CreateFileA(DEVICE_PATH, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, NULL);
}

static void Poll(void) {
  HANDLE device = OpenDevice();
  if (device == INVALID_HANDLE_VALUE) return;
  if (SourceKind(device) > 0) PlaySoundA((LPCSTR)&kSilence, NULL, SND_MEMORY | SND_ASYNC);
  CloseHandle(device);
}

static void Display(HWND hwnd) {
  const int kind = SourceKind(display);
  if (kind < 0 || kind == shown) return;
  shown = kind;
  SetDlgItemTextA(hwnd, ID_TEXT, kind == 2 ? "5.1 channel" : kind == 1 ? "2 channel" : "");
}

const WCHAR kProgramCaption[] = L"KORVEN Floor Program";

static INT_PTR CALLBACK ProgramProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (msg) {
    case WM_INITDIALOG:
      CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_READONLY, 10, 10,
                      200, 22, hwnd, (HMENU)ID_TEXT, GetModuleHandleA(NULL), NULL);
      display = OpenDevice();
      SetTimer(hwnd, ID_POLL, 200, NULL);
      SetTimer(hwnd, ID_DISPLAY, 300, NULL);
      return TRUE;
    case WM_TIMER:
      if (wParam == ID_POLL) Poll();
      if (wParam == ID_DISPLAY && display != INVALID_HANDLE_VALUE) Display(hwnd);
      return TRUE;
    case WM_DESTROY:
      if (display != INVALID_HANDLE_VALUE) CloseHandle(display);
      return EndOnClose(hwnd, msg);
    default:
      return EndOnClose(hwnd, msg);
  }
}
