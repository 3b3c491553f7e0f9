/* The empty reference for bench/wine_idle_bench.sh: one visible dialog, a message loop and a
 * 200 ms timer that does nothing. */
#include "bench_dialog.h"

const WCHAR kProgramCaption[] = L"Empty Win32 Program";

static INT_PTR CALLBACK ProgramProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  (void)wParam;
  (void)lParam;
  switch (msg) {
    case WM_INITDIALOG:
      SetTimer(hwnd, 1, 200, NULL);
      return TRUE;
    case WM_TIMER:
      return TRUE;
    default:
      return EndOnClose(hwnd, msg);
  }
}
