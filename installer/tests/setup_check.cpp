// What the installer's test does and reads inside the Wine prefix, where the shell scripts
// cannot: exact command lines, the process list, the setup's own pages, a program that hangs.
// Every result is one line on stdout; the exit code says whether the command succeeded.
//
//   korven_setup_check run TIMEOUT_MS PROGRAM [ARG...]   starts "PROGRAM" ARG... exactly so
//                                         (an uninstaller's _?=FOLDER must not be quoted) and
//                                         prints "exit N"; exits with N
//   korven_setup_check start-run-value NAME   starts HKLM's Run value NAME (32-bit view) as
//                                         sign-in does: its text is the command line
//   korven_setup_check running EXE        a process EXE runs (prints how many)
//   korven_setup_check parent EXE         prints the file name of EXE's parent process
//   korven_setup_check page CAPTION       the controls of the shown page of the setup window
//                                         CAPTION (id, check, text)
//   korven_setup_check page-click CAPTION ID   a click on control ID of that page
//   korven_setup_check version FILE       prints FILE's version resource: the fixed numbers
//                                         and its ProductVersion text
//   korven_setup_check hang CAPTION SECONDS   a window of the dialog class with that caption
//                                         that answers no message, as a hung program's
#include <windows.h>
// After windows.h.
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
  if (length > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  return wide;
}

// Starts COMMAND_LINE; waits up to TIMEOUT_MS (none when 0). Returns its exit code, or -1.
int Start(std::wstring commandLine, DWORD timeoutMs) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::printf("cannot start: error %lu\n", GetLastError());
    return -1;
  }
  DWORD code = 0;
  if (timeoutMs != 0) {
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
      std::printf("still running after %lu ms\n", timeoutMs);
      code = static_cast<DWORD>(-1);
    } else {
      GetExitCodeProcess(process.hProcess, &code);
      std::printf("exit %lu\n", code);
    }
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

std::vector<PROCESSENTRY32> Processes() {
  std::vector<PROCESSENTRY32> all;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return all;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    all.push_back(entry);
  }
  CloseHandle(snapshot);
  return all;
}

int Running(const char* exe) {
  int count = 0;
  for (const auto& process : Processes()) {
    if (lstrcmpiA(process.szExeFile, exe) == 0) ++count;
  }
  std::printf("running %d\n", count);
  return count > 0 ? 0 : 1;
}

int Parent(const char* exe) {
  const auto all = Processes();
  for (const auto& process : all) {
    if (lstrcmpiA(process.szExeFile, exe) != 0) continue;
    for (const auto& parent : all) {
      if (parent.th32ProcessID == process.th32ParentProcessID) {
        std::printf("parent %s\n", parent.szExeFile);
        return 0;
      }
    }
    std::printf("parent gone\n");
    return 1;
  }
  std::printf("no %s\n", exe);
  return 1;
}

int StartRunValue(const char* name) {
  char command[1024] = {};
  DWORD size = sizeof command - 1;
  HKEY run = nullptr;
  LSTATUS status =
      RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                    KEY_QUERY_VALUE | KEY_WOW64_32KEY, &run);
  if (status == ERROR_SUCCESS) {
    DWORD type = 0;
    status = RegQueryValueExA(run, name, nullptr, &type, reinterpret_cast<BYTE*>(command), &size);
    RegCloseKey(run);
    if (status == ERROR_SUCCESS && type != REG_SZ) status = ERROR_INVALID_DATA;
  }
  if (status != ERROR_SUCCESS) {
    std::printf("no Run value %s: error %ld\n", name, status);
    return 1;
  }
  std::printf("starting %s\n", command);
  return Start(Wide(command), 0) == 0 ? 0 : 1;
}

std::string TextOf(HWND hwnd) {
  char text[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  std::string line(text, copied < sizeof text ? copied : sizeof text - 1);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

BOOL CALLBACK PrintControl(HWND hwnd, LPARAM) {
  DWORD_PTR check = 0;
  SendMessageTimeoutA(hwnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &check);
  std::printf("control id=%d visible=%d check=%d text=%s\n", GetDlgCtrlID(hwnd),
              IsWindowVisible(hwnd) ? 1 : 0, static_cast<int>(check), TextOf(hwnd).c_str());
  return TRUE;
}

// The setup window keeps its pages as child dialogs; the shown one, or null.
HWND ShownPage(const char* caption) {
  const HWND setup = FindWindowA("#32770", caption);
  if (setup == nullptr) {
    std::printf("missing %s\n", caption);
    return nullptr;
  }
  for (HWND child = FindWindowExA(setup, nullptr, "#32770", nullptr); child != nullptr;
       child = FindWindowExA(setup, child, "#32770", nullptr)) {
    if (IsWindowVisible(child)) return child;
  }
  std::printf("no page shown\n");
  return nullptr;
}

int Page(const char* caption) {
  const HWND page = ShownPage(caption);
  if (page == nullptr) return 1;
  EnumChildWindows(page, PrintControl, 0);
  return 0;
}

int PageClick(const char* caption, int id) {
  const HWND page = ShownPage(caption);
  const HWND control = page != nullptr ? GetDlgItem(page, id) : nullptr;
  DWORD_PTR ignored = 0;
  return control != nullptr &&
                 SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored)
             ? 0
             : 1;
}

int Version(const char* file) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  const WORD* translation = nullptr;
  const char* text = nullptr;
  UINT length = 0;
  if (size == 0 || !GetFileVersionInfoA(file, 0, size, data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
      !VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(const_cast<WORD**>(&translation)), &length) ||
      length < 4) {
    std::printf("no version resource in %s\n", file);
    return 1;
  }
  char block[64];
  std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\ProductVersion", translation[0],
                translation[1]);
  if (!VerQueryValueA(data.data(), block, reinterpret_cast<void**>(const_cast<char**>(&text)),
                      &length)) {
    text = "";
  }
  std::printf("version %lu.%lu.%lu.%lu text %s\n", fixed->dwProductVersionMS >> 16,
              fixed->dwProductVersionMS & 0xFFFF, fixed->dwProductVersionLS >> 16,
              fixed->dwProductVersionLS & 0xFFFF, text);
  return 0;
}

int Hang(const char* caption, int seconds) {
  const HWND window = CreateWindowExA(0, "#32770", caption, WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return 1;
  std::printf("hanging\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds) * 1000);  // no message is ever read
  DestroyWindow(window);
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: korven_setup_check run TIMEOUT_MS PROGRAM [ARG...] | start-run-value NAME | "
               "running EXE | parent EXE | page CAPTION | page-click CAPTION ID | version FILE | "
               "hang CAPTION SECONDS\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  if (command == "run" && argc >= 4) {
    std::wstring line = L"\"" + Wide(argv[3]) + L"\"";
    for (int i = 4; i < argc; ++i) line += L" " + Wide(argv[i]);
    const int code = Start(line, std::strtoul(argv[2], nullptr, 0));
    return code < 0 ? 255 : code;
  }
  if (command == "start-run-value") return StartRunValue(argv[2]);
  if (command == "running") return Running(argv[2]);
  if (command == "parent") return Parent(argv[2]);
  if (command == "page") return Page(argv[2]);
  if (command == "page-click" && argc == 4) return PageClick(argv[2], std::atoi(argv[3]));
  if (command == "version") return Version(argv[2]);
  if (command == "hang" && argc == 4) return Hang(argv[2], std::atoi(argv[3]));
  return Usage();
}
