/* The window of the bench's reference programs (floor_win32.c, empty_win32.c): a visible
 * dialog with the program's caption and procedure, made from an in-memory template (no
 * resources to compile, nothing but user32 to load), and a message loop. A dialog (class
 * #32770) rather than a plain window, so that the bench finds it by its caption as it finds
 * korven.exe's. */
#include <windows.h>

/* Each program defines these two. */
extern const WCHAR kProgramCaption[];
static INT_PTR CALLBACK ProgramProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

/* Closing ends the program; every other message not handled by the program's own procedure. */
static INT_PTR EndOnClose(HWND hwnd, UINT msg) {
  switch (msg) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return TRUE;
    case WM_DESTROY:
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
  static struct {
    DLGTEMPLATE dialog;
    WORD menu;
    WORD windowClass;
    WCHAR caption[64];
  } __attribute__((aligned(4))) dialogTemplate = {
      {WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER, 0, 0, 0, 0, 200, 80},
      0,
      0,
      {0}};
  lstrcpynW(dialogTemplate.caption, kProgramCaption, 64);
  HWND dialog = CreateDialogIndirectParamW(instance, &dialogTemplate.dialog, NULL, ProgramProc, 0);
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
