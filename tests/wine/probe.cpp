// Drives a running korven.exe from another process: finds dialogs by caption, lists their
// controls, clicks buttons, works the tray menu, tabs and sliders. Every result is one line
// on stdout that the test scripts check; the exit code is 0 when the command succeeded.
// A CAPTION of the form "top:TEXT" only matches top-level dialogs (a page and a pop-up may
// share a caption).
//
//   korven_probe wait CAPTION TIMEOUT_MS     a dialog with that caption exists
//   korven_probe gone CAPTION TIMEOUT_MS     no dialog with that caption exists
//   korven_probe shown CAPTION TIMEOUT_MS    the dialog exists and is visible
//   korven_probe hidden CAPTION TIMEOUT_MS   the dialog exists and is hidden
//   korven_probe dump CAPTION                the dialog, its top-level window and its controls
//                                            (a slider's line has its position)
//   korven_probe rect CAPTION                the screen rectangle of the dialog's top-level window
//   korven_probe click CAPTION ID            BM_CLICK on control ID of the dialog
//   korven_probe close CAPTION               WM_CLOSE to the top-level window of the dialog
//   korven_probe post CAPTION MSG WPARAM LPARAM   posts a message to the dialog
//   korven_probe tray CAPTION ID             the dialog's notification icon ID is in the tray
//   korven_probe menu TIMEOUT_MS             a pop-up menu is shown
//   korven_probe menu-gone TIMEOUT_MS        no pop-up menu is shown
//   korven_probe menu-keys VK...             posts key presses to the shown pop-up menu
//   korven_probe tab CAPTION INDEX           the dialog's tab row moves to tab INDEX, notifying
//   korven_probe slider CAPTION ID POS       puts slider ID at POS and clicks its thumb, as a
//                                            user's drag that ends there
//   korven_probe explorer-restart CAPTION ID what a restarting shell does: the dialog's icon ID
//                                            leaves the tray, then "TaskbarCreated" goes to
//                                            every top-level window
//   korven_probe manifest PATH               the program's embedded manifest (resource 1)
//   korven_probe press CAPTION ID HOLD_MS [OFF_MS]
//                                            presses the mouse button on the centre of control ID
//                                            and releases it HOLD_MS later; with OFF_MS, the
//                                            pointer leaves the control after HOLD_MS and the
//                                            release comes OFF_MS later, off the control
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
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
  bool topLevelOnly = false;
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
  auto& search = *reinterpret_cast<Search*>(param);
  Consider(hwnd, search);
  // Every descendant, not only children.
  if (!search.topLevelOnly) EnumChildWindows(hwnd, ConsiderChild, param);
  return TRUE;
}

// The dialog with that caption, top-level or nested in another window; null when none.
HWND FindDialog(const std::string& caption) {
  constexpr std::string_view kTopLevel = "top:";
  Search search;
  search.topLevelOnly = caption.compare(0, kTopLevel.size(), kTopLevel) == 0;
  search.caption = search.topLevelOnly ? caption.substr(kTopLevel.size()) : caption;
  EnumWindows(ConsiderTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

BOOL CALLBACK ConsiderMenu(HWND hwnd, LPARAM param) {
  if (ClassOf(hwnd) == "#32768" && IsWindowVisible(hwnd)) {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}

// A shown pop-up menu (class "#32768"); null when none.
HWND FindMenu() {
  HWND found = nullptr;
  EnumWindows(ConsiderMenu, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Polls CONDITION every 100 ms until it holds or the time is up; its last answer.
template <typename Condition>
bool Within(int timeoutMs, Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

unsigned long Number(const char* text) {
  return std::strtoul(text, nullptr, 0);
}

// Memory inside another window's process, for messages that write through a pointer (the
// target writes into its own address space; nothing marshals these messages).
class RemoteBuffer {
 public:
  RemoteBuffer(HWND hwnd, SIZE_T size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_ != nullptr) {
      address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
  }
  ~RemoteBuffer() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool Ok() const { return address_ != nullptr; }
  LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
  bool Read(void* to) const {
    SIZE_T read = 0;
    return ReadProcessMemory(process_, address_, to, size_, &read) && read == size_;
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  SIZE_T size_;
};

// The child of DIALOG with that window class; null when none.
HWND ChildOfClass(HWND dialog, const char* className) {
  return FindWindowExA(dialog, nullptr, className, nullptr);
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
  std::string position;
  if (className == TRACKBAR_CLASSA) {
    DWORD_PTR pos = 0;
    SendMessageTimeoutA(hwnd, TBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kReplyTimeoutMs, &pos);
    position = " pos=" + std::to_string(static_cast<int>(pos));
  }
  std::printf("control id=%d class=%s visible=%d enabled=%d check=%d%s text=%s\n",
              GetDlgCtrlID(hwnd), className.c_str(), IsWindowVisible(hwnd) ? 1 : 0,
              IsWindowEnabled(hwnd) ? 1 : 0, static_cast<int>(check), position.c_str(),
              TextOf(hwnd).c_str());
  return TRUE;
}

int Usage() {
  std::fprintf(stderr,
               "usage: korven_probe wait|gone|shown|hidden CAPTION TIMEOUT_MS | dump CAPTION | "
               "rect CAPTION | click CAPTION ID | close CAPTION | post CAPTION MSG WPARAM LPARAM | "
               "tray CAPTION ID | menu|menu-gone TIMEOUT_MS | menu-keys VK... | "
               "tab CAPTION INDEX | slider CAPTION ID POS | explorer-restart CAPTION ID | "
               "manifest PATH | press CAPTION ID HOLD_MS [OFF_MS]\n");
  return 2;
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* answered = nullptr) {
  DWORD_PTR result = 0;
  const bool ok = SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kReplyTimeoutMs,
                                      &result) != 0;
  if (answered != nullptr) *answered = ok;
  return static_cast<LRESULT>(result);
}

// The dialog, or a "missing" line and null.
HWND Require(const std::string& caption) {
  HWND hwnd = FindDialog(caption);
  if (hwnd == nullptr) std::printf("missing %s\n", caption.c_str());
  return hwnd;
}

// Control ID of the dialog, or a "missing" line and null.
// The tray's record of the dialog's icon ID, as the program adds it.
NOTIFYICONDATAA IconRecord(HWND dialog, const char* id) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = dialog;
  data.uID = Number(id);
  return data;
}

HWND RequireControl(const std::string& caption, const char* id) {
  HWND dialog = Require(caption);
  if (dialog == nullptr) return nullptr;
  HWND control = GetDlgItem(dialog, std::atoi(id));
  if (control == nullptr) std::printf("missing control %s\n", id);
  return control;
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
  if ((command == "shown" || command == "hidden") && argc == 4) {
    const bool visible = command == "shown";
    HWND hwnd = nullptr;
    const bool ok = Within(std::atoi(argv[3]), [&] {
      hwnd = FindDialog(caption);
      return hwnd != nullptr && (IsWindowVisible(hwnd) != FALSE) == visible;
    });
    if (hwnd == nullptr) {
      std::printf("missing %s\n", caption.c_str());
    } else {
      std::printf("%s %s\n", IsWindowVisible(hwnd) ? "shown" : "hidden", caption.c_str());
    }
    return ok ? 0 : 1;
  }
  if ((command == "menu" || command == "menu-gone") && argc == 3) {
    const bool wanted = command == "menu";
    const bool ok = Within(std::atoi(argv[2]), [&] { return (FindMenu() != nullptr) == wanted; });
    std::printf("menu %s\n", FindMenu() != nullptr ? "shown" : "none");
    return ok ? 0 : 1;
  }
  if (command == "menu-keys") {
    HWND menu = FindMenu();
    if (menu == nullptr) {
      std::printf("no menu\n");
      return 1;
    }
    // Posted, as keys arrive: the menu's own loop in the program takes them from its queue.
    for (int i = 2; i < argc; ++i) {
      const std::string key = argv[i];
      const WPARAM vk = key == "down"     ? VK_DOWN
                        : key == "up"     ? VK_UP
                        : key == "return" ? VK_RETURN
                        : key == "escape" ? VK_ESCAPE
                                          : Number(argv[i]);
      PostMessageA(menu, WM_KEYDOWN, vk, 1);
      PostMessageA(menu, WM_KEYUP, vk, 0xC0000001);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::printf("keys posted\n");
    return 0;
  }
  if (command == "rect" && argc == 3) {
    HWND dialog = Require(caption);
    if (dialog == nullptr) return 1;
    RECT rect{};
    GetWindowRect(GetAncestor(dialog, GA_ROOT), &rect);
    std::printf("rect %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
  }
  if (command == "post" && argc == 6) {
    HWND dialog = Require(caption);
    if (dialog == nullptr) return 1;
    const bool posted =
        PostMessageA(dialog, Number(argv[3]), Number(argv[4]), Number(argv[5])) != 0;
    std::printf("posted %s %s %s posted=%d\n", argv[3], argv[4], argv[5], posted ? 1 : 0);
    return posted ? 0 : 1;
  }
  if (command == "tray" && argc == 4) {
    HWND dialog = Require(caption);
    if (dialog == nullptr) return 1;
    // A modification that changes nothing succeeds only for an icon the tray holds.
    NOTIFYICONDATAA data = IconRecord(dialog, argv[3]);
    const bool present = Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
    std::printf("tray icon %s %s\n", argv[3], present ? "present" : "absent");
    return present ? 0 : 1;
  }
  if (command == "tab" && argc == 4) {
    HWND dialog = Require(caption);
    if (dialog == nullptr) return 1;
    HWND tabs = ChildOfClass(dialog, WC_TABCONTROLA);
    if (tabs == nullptr) {
      std::printf("no tab row\n");
      return 1;
    }
    // Without TCS_BUTTONS, moving the focus selects the tab and notifies the parent with
    // TCN_SELCHANGING and TCN_SELCHANGE, as a click does (WM_NOTIFY itself cannot be sent
    // from another process).
    const int index = std::atoi(argv[3]);
    bool answered = false;
    Send(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0, &answered);
    const int selected = static_cast<int>(Send(tabs, TCM_GETCURSEL, 0, 0));
    std::printf("tab %d answered=%d selected=%d\n", index, answered ? 1 : 0, selected);
    return answered && selected == index ? 0 : 1;
  }
  if (command == "slider" && argc == 5) {
    HWND slider = RequireControl(caption, argv[3]);
    if (slider == nullptr) return 1;
    Send(slider, TBM_SETPOS, TRUE, static_cast<LPARAM>(std::atoi(argv[4])));
    RemoteBuffer thumb(slider, sizeof(RECT));
    RECT rect{};
    bool answered = false;
    if (thumb.Ok()) Send(slider, TBM_GETTHUMBRECT, 0, thumb.Address(), &answered);
    if (!answered || !thumb.Read(&rect) || rect.right <= rect.left) {
      std::printf("no thumb\n");
      return 1;
    }
    // A press on the thumb starts a drag; its release ends it with NM_RELEASEDCAPTURE.
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageA(slider, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(slider, WM_LBUTTONUP, 0, at);
    std::printf("slider %s at %s released position=%d\n", argv[3], argv[4],
                static_cast<int>(Send(slider, TBM_GETPOS, 0, 0)));
    return 0;
  }
  if (command == "press" && (argc == 5 || argc == 6)) {
    HWND control = RequireControl(caption, argv[3]);
    if (control == nullptr) return 1;
    HWND dialog = GetParent(control);
    RECT rect{};
    GetWindowRect(control, &rect);
    POINT on{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    POINT off{rect.left - 8, rect.top - 8};
    // Posted, as the window system posts the mouse's messages. The pointer itself stays where
    // it is: Wine would send a move of its own to where it was before.
    auto post = [dialog](POINT screen, WPARAM buttons, UINT message) {
      ScreenToClient(dialog, &screen);
      PostMessageA(dialog, message, buttons, MAKELPARAM(screen.x, screen.y));
    };
    post(on, MK_LBUTTON, WM_LBUTTONDOWN);
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[4])));
    if (argc == 6) {
      post(off, MK_LBUTTON, WM_MOUSEMOVE);
      std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[5])));
    }
    post(argc == 6 ? off : on, 0, WM_LBUTTONUP);
    std::printf("pressed %s for %s ms%s\n", argv[3], argv[4], argc == 6 ? ", then off it" : "");
    return 0;
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
    HWND button = RequireControl(caption, argv[3]);
    if (button == nullptr) return 1;
    DWORD_PTR ignored = 0;
    const bool answered = SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG,
                                              kReplyTimeoutMs, &ignored) != 0;
    std::printf("clicked %s answered=%d\n", argv[3], answered ? 1 : 0);
    return 0;
  }
  if (command == "explorer-restart" && argc == 4) {
    HWND dialog = Require(caption);
    if (dialog == nullptr) return 1;
    NOTIFYICONDATAA data = IconRecord(dialog, argv[3]);
    const bool deleted = Shell_NotifyIconA(NIM_DELETE, &data) != FALSE;
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    const bool posted = PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0) != 0;
    std::printf("icon %s deleted=%d; TaskbarCreated broadcast=%d\n", argv[3], deleted ? 1 : 0,
                posted ? 1 : 0);
    return deleted && posted ? 0 : 1;
  }
  if (command == "manifest" && argc == 3) {
    HMODULE program = LoadLibraryExA(argv[2], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = program != nullptr ? FindResourceA(program, MAKEINTRESOURCEA(1),
                                                     MAKEINTRESOURCEA(24))  // RT_MANIFEST
                                     : nullptr;
    HGLOBAL loaded = found != nullptr ? LoadResource(program, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes != nullptr) {
      std::fwrite(bytes, 1, SizeofResource(program, found), stdout);
    } else {
      std::printf("no manifest in %s\n", argv[2]);
    }
    if (program != nullptr) FreeLibrary(program);
    return bytes != nullptr ? 0 : 1;
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
