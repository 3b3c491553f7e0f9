/* Start-up time of a program at millisecond resolution, for bench/wine_idle_bench.sh: starts
 * COMMAND and polls every millisecond, in this one process, until a top-level dialog with
 * CAPTION exists and, when ICON_ID is not 0, holds notification icon ICON_ID in the tray.
 * Prints the program's process id, then the milliseconds from the start to that moment; the
 * program keeps running.
 *   start_timer CAPTION ICON_ID COMMAND */
#include <windows.h>
/* After windows.h. */
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>

#define TIMEOUT_MS 30000

static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER frequency) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return (double)(now.QuadPart - from.QuadPart) * 1000.0 / (double)frequency.QuadPart;
}

/* A modification that changes nothing succeeds only for an icon the tray holds. */
static BOOL InTray(HWND hwnd, UINT id) {
  NOTIFYICONDATAA data;
  ZeroMemory(&data, sizeof data);
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = hwnd;
  data.uID = id;
  return Shell_NotifyIconA(NIM_MODIFY, &data);
}

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: start_timer CAPTION ICON_ID COMMAND\n");
    return 2;
  }
  const UINT icon = (UINT)strtoul(argv[2], NULL, 0);
  STARTUPINFOA startup;
  PROCESS_INFORMATION process;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  LARGE_INTEGER frequency, t0;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&t0);
  if (!CreateProcessA(NULL, argv[3], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
    printf("cannot start %s: error %lu\n", argv[3], GetLastError());
    return 1;
  }
  CloseHandle(process.hThread);
  printf("pid %04lx\n", process.dwProcessId); /* as the server's trace names it */
  for (;;) {
    HWND hwnd = FindWindowA("#32770", argv[1]);
    if (hwnd != NULL && (icon == 0 || InTray(hwnd, icon))) break;
    if (Milliseconds(t0, frequency) > TIMEOUT_MS ||
        WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
      printf("no %s\n", argv[1]);
      return 1;
    }
    Sleep(1);
  }
  printf("%.1f\n", Milliseconds(t0, frequency));
  CloseHandle(process.hProcess);
  return 0;
}
