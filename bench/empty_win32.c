/* The floor for bench/wine_idle_bench.sh: one visible dialog, a message loop and a 200 ms
 * timer that does nothing. A dialog (class #32770) rather than a plain window so that the
 * window probe finds it by its caption, as it finds korven.exe's. */
#include <windows.h>

/* An in-memory template: no resources to compile, nothing but user32 to load. */
static struct {
  DLGTEMPLATE dialog;
  WORD menu;
  WORD windowClass;
  WCHAR caption[20];
} __attribute__((aligned(4))) kTemplate = {
    {WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER, 0, 0, 0, 0, 200, 80},
    0,
    0,
    L"Empty Win32 Program"};

static INT_PTR CALLBACK EmptyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  (void)wParam;
  (void)lParam;
  switch (msg) {
    case WM_INITDIALOG:
      SetTimer(hwnd, 1, 200, NULL);
      return TRUE;
    case WM_TIMER:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return TRUE;
    case WM_DESTROY:
      KillTimer(hwnd, 1);
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)previous;
  (void)commandLine;
  (void)show;
  HWND dialog = CreateDialogIndirectParamW(instance, &kTemplate.dialog, NULL, EmptyProc, 0);
  if (dialog == NULL) return 1;
  MSG msg;
  while (GetMessageW(&msg, NULL, 0, 0) > 0) {
    if (!IsDialogMessageW(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return 0;
}
