// Drives a running korven.exe from another process: finds dialogs by caption, lists their
// controls, clicks buttons and closes the program. Every result is one line on stdout that
// the smoke test script checks; the exit code is 0 when the command succeeded.
//
//   korven_probe wait CAPTION TIMEOUT_MS     a dialog with that caption exists
//   korven_probe gone CAPTION TIMEOUT_MS     no dialog with that caption exists
//   korven_probe dump CAPTION                the dialog, its top-level window and its controls
//   korven_probe click CAPTION ID            BM_CLICK on control ID of the dialog
//   korven_probe close CAPTION               WM_CLOSE to the top-level window of the dialog
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr UINT kReplyTimeoutMs = 5000;

// WM_GETTEXT rather than GetWindowTextA: the latter does not ask another process's window.
std::string TextOf(HWND hwnd) {
  char buffer[512] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, kReplyTimeoutMs, &copied)) {
    return {};
  }
  std::string text(buffer, copied < sizeof buffer ? copied : sizeof buffer - 1);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  const int length = GetClassNameA(hwnd, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

struct Search {
  std::string caption;
  std::vector<HWND> found;
};

void Consider(HWND hwnd, Search& search) {
  if (ClassOf(hwnd) == "#32770" && TextOf(hwnd) == search.caption) search.found.push_back(hwnd);
}

BOOL CALLBACK ConsiderChild(HWND hwnd, LPARAM param) {
  Consider(hwnd, *reinterpret_cast<Search*>(param));
  return TRUE;
}

BOOL CALLBACK ConsiderTopLevel(HWND hwnd, LPARAM param) {
  Consider(hwnd, *reinterpret_cast<Search*>(param));
  EnumChildWindows(hwnd, ConsiderChild, param);  // every descendant, not only children
  return TRUE;
}

// The dialog with that caption, top-level or nested in another window; null when none.
HWND FindDialog(const std::string& caption) {
  Search search{caption, {}};
  EnumWindows(ConsiderTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

HWND WaitFor(const std::string& caption, bool present, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    HWND hwnd = FindDialog(caption);
    if ((hwnd != nullptr) == present || std::chrono::steady_clock::now() >= deadline) return hwnd;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

void PrintWindow(const char* kind, HWND hwnd) {
  std::printf("%s class=%s visible=%d enabled=%d text=%s\n", kind, ClassOf(hwnd).c_str(),
              IsWindowVisible(hwnd) ? 1 : 0, IsWindowEnabled(hwnd) ? 1 : 0, TextOf(hwnd).c_str());
}

BOOL CALLBACK PrintControl(HWND hwnd, LPARAM param) {
  const HWND dialog = reinterpret_cast<HWND>(param);
  if (GetParent(hwnd) != dialog) return TRUE;  // controls of nested dialogs belong to those
  const std::string className = ClassOf(hwnd);
  DWORD_PTR check = 0;
  if (className == "Button") {
    SendMessageTimeoutA(hwnd, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &check);
  }
  std::printf("control id=%d class=%s visible=%d enabled=%d check=%d text=%s\n", GetDlgCtrlID(hwnd),
              className.c_str(), IsWindowVisible(hwnd) ? 1 : 0, IsWindowEnabled(hwnd) ? 1 : 0,
              static_cast<int>(check), TextOf(hwnd).c_str());
  return TRUE;
}

int Usage() {
  std::fprintf(stderr,
               "usage: korven_probe wait|gone CAPTION TIMEOUT_MS | dump CAPTION | "
               "click CAPTION ID | close CAPTION\n");
  return 2;
}

// The dialog, or a "missing" line and null.
HWND Require(const std::string& caption) {
  HWND hwnd = FindDialog(caption);
  if (hwnd == nullptr) std::printf("missing %s\n", caption.c_str());
  return hwnd;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);  // plain \n line ends for the script
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  const std::string caption = argv[2];

  if ((command == "wait" || command == "gone") && argc == 4) {
    const bool present = command == "wait";
    HWND hwnd = WaitFor(caption, present, std::atoi(argv[3]));
    std::printf("%s %s\n", hwnd != nullptr ? "present" : "absent", caption.c_str());
    return (hwnd != nullptr) == present ? 0 : 1;
  }
  if (command == "dump" && argc == 3) {
    HWND dialog = Require(caption);
    if (dialog == nullptr) return 1;
    PrintWindow("dialog", dialog);
    PrintWindow("root", GetAncestor(dialog, GA_ROOT));
    EnumChildWindows(dialog, PrintControl, reinterpret_cast<LPARAM>(dialog));
    return 0;
  }
  if (command == "click" && argc == 4) {
    HWND dialog = Require(caption);
    if (dialog == nullptr) return 1;
    HWND button = GetDlgItem(dialog, std::atoi(argv[3]));
    if (button == nullptr) {
      std::printf("missing control %s\n", argv[3]);
      return 1;
    }
    DWORD_PTR ignored = 0;
    const bool answered = SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG,
                                              kReplyTimeoutMs, &ignored) != 0;
    std::printf("clicked %s answered=%d\n", argv[3], answered ? 1 : 0);
    return 0;
  }
  if (command == "close" && argc == 3) {
    HWND dialog = Require(caption);
    if (dialog == nullptr) return 1;
    // Posted: the program may run a nested loop (a message box) before it answers.
    const bool posted = PostMessageA(GetAncestor(dialog, GA_ROOT), WM_CLOSE, 0, 0) != 0;
    std::printf("closed %s posted=%d\n", caption.c_str(), posted ? 1 : 0);
    return posted ? 0 : 1;
  }
  return Usage();
}
