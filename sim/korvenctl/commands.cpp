#include "korvenctl/commands.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "korvenctl/control_channel.h"
#include "korvenctl/host_controller.h"
#include "korvenctl/usb_tree.h"

namespace korvenctl {
namespace {

#define REQUEST_CONSTANT(name, function, in, out) name = KORVEN_REQUEST_CODE(function),
enum : DWORD { KORVEN_REQUESTS(REQUEST_CONSTANT) };
#undef REQUEST_CONSTANT
constexpr const char* kGainNames[KORVEN_GAIN_COUNT] = {"LFE", "L", "R", "C", "RL", "RR"};
// DBT_DEVNODES_CHANGED: the set of device nodes changed.
constexpr WPARAM kDevNodesChanged = 0x0007;
// How long a broadcast waits for each window; the program may block on a device change.
constexpr UINT kBroadcastTimeoutMs = 10000;

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%lX", value);
  return text;
}

std::string RequestName(DWORD code) {
  if (const KorvenRequestShape* shape = KorvenFindRequest(code)) return shape->name;
  return Hex(code);
}

// A request by name (IOCTL_FILTER_ON) or number (0x223000); 0 when neither.
DWORD RequestCode(const std::string& text) {
  for (const KorvenRequestShape& shape : korvenRequestShapes) {
    if (text == shape.name) return shape.code;
  }
  return std::strtoul(text.c_str(), nullptr, 0);
}

std::string StatusName(std::int32_t status) {
  switch (static_cast<DWORD>(status)) {
    case 0:
      return "ok";
    case 0xC0000001:
      return "STATUS_UNSUCCESSFUL";
    case 0xC000000D:
      return "STATUS_INVALID_PARAMETER";
    case 0xC0000010:
      return "STATUS_INVALID_DEVICE_REQUEST";
    case 0xC0000023:
      return "STATUS_BUFFER_TOO_SMALL";
    case 0xC000009D:
      return "STATUS_DEVICE_NOT_CONNECTED";
    default:
      return Hex(static_cast<DWORD>(status));
  }
}

std::string GainText(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

std::int32_t Int32At(const std::uint8_t* at) {
  std::int32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

// "NAME values" for an accepted request, with " STATUS" after a refused one.
std::string Describe(const KorvenSimLogEntry& entry, bool withSizes) {
  std::string text = RequestName(entry.code);
  if (withSizes) {
    text += " in=" + std::to_string(entry.inLength) + " out=" + std::to_string(entry.outLength);
  }
  if (entry.inLength == KORVEN_GAIN_SIZE && entry.code >= IOCTL_SET_GAIN_LFE &&
      entry.code <= IOCTL_SET_GAIN_RR) {
    std::uint32_t bits;
    std::memcpy(&bits, entry.input, sizeof bits);
    text += " " + GainText(bits);
  } else if (entry.inLength == sizeof(KorvenBassModeRecord) && entry.code == IOCTL_SET_BASS_MODE) {
    for (int i = 0; i < 3; ++i) text += " " + std::to_string(Int32At(entry.input + 4 * i));
  }
  if (entry.status != 0 || withSizes) text += " " + StatusName(entry.status);
  return text;
}

// Opens the control path; says why not when it can't.
bool OpenControl(Channel& control) {
  if (control.IsOpen()) return true;
  std::printf("no simulated driver (%s: error %lu)\n", KORVENSIM_CONTROL_PATH, control.OpenError());
  return false;
}

int Simple(DWORD code, const std::vector<std::uint8_t>& input, const char* done) {
  Channel control(KORVENSIM_CONTROL_PATH);
  if (!OpenControl(control)) return 1;
  Answer answer = control.Send(code, input, 0);
  if (!answer.ok) {
    std::printf("refused, error %lu\n", answer.error);
    return 1;
  }
  std::printf("%s\n", done);
  return 0;
}

// WM_DEVICECHANGE with "the device nodes changed", to every top-level window: Wine sends
// none when a driver's link comes or goes.
void Broadcast(int times) {
  for (int i = 0; i < times; ++i) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_DEVICECHANGE, kDevNodesChanged, 0, SMTO_NORMAL,
                        kBroadcastTimeoutMs, &ignored);
  }
  std::printf("broadcast WM_DEVICECHANGE DBT_DEVNODES_CHANGED x%d\n", times);
}

bool HasFlag(const Arguments& arguments, const char* flag) {
  for (const std::string& argument : arguments) {
    if (argument == flag) return true;
  }
  return false;
}

int Log(const Arguments& arguments) {
  const bool withPolls = !HasFlag(arguments, "--no-poll");
  const bool full = HasFlag(arguments, "--full");
  Channel control(KORVENSIM_CONTROL_PATH);
  if (!OpenControl(control)) return 1;
  std::vector<KorvenSimLogEntry> entries;
  DWORD error = 0;
  if (!ReadLog(control, entries, error)) {
    std::printf("log refused, error %lu\n", error);
    return 1;
  }
  for (const KorvenSimLogEntry& entry : entries) {
    if (!withPolls && entry.code == IOCTL_GET_SOURCE_CHANNELS) continue;
    if (full) {
      std::printf("%u %s\n", entry.sequence, Describe(entry, true).c_str());
    } else {
      std::printf("%s\n", Describe(entry, false).c_str());
    }
  }
  return 0;
}

int State() {
  Channel control(KORVENSIM_CONTROL_PATH);
  if (!OpenControl(control)) return 1;
  KorvenSimState state;
  DWORD error = 0;
  if (!ReadState(control, state, error)) {
    std::printf("state refused, error %lu\n", error);
    return 1;
  }
  std::printf("filter=%s\n", state.filterOn ? "on" : "off");
  std::printf("speakers=%s\n", state.speakers51 ? "5.1" : "2.1");
  std::printf("surround=%s\n", state.surroundRunning ? "running" : "stopped");
  std::printf("bass=%d %d %d\n", static_cast<int>(state.bass[0]), static_cast<int>(state.bass[1]),
              static_cast<int>(state.bass[2]));
  for (int i = 0; i < KORVEN_GAIN_COUNT; ++i) {
    std::printf("gain.%s=%s\n", kGainNames[i], GainText(state.gainBits[i]).c_str());
  }
  const char* source = state.source == KORVENSIM_SOURCE_MULTI_CHANNEL ? "5.1"
                       : state.source == KORVENSIM_SOURCE_TWO_CHANNEL ? "2ch"
                                                                      : "none";
  std::printf("source=%s\n", source);
  std::printf("plugged=%s\n", state.plugged ? "yes" : "no");
  std::printf("topology=%s\n", state.behindHub == KORVENSIM_BEHIND_HUB             ? "hub"
                               : state.behindHub == KORVENSIM_ON_SECOND_CONTROLLER ? "controller"
                                                                                   : "root");
  std::printf("product=0x%04X\n", static_cast<unsigned>(state.productId));
  std::printf("handles=%u\n", static_cast<unsigned>(state.openHandles));
  std::printf("opens=%u\n", static_cast<unsigned>(state.opens));
  std::printf("faults=%u\n", static_cast<unsigned>(state.pendingFaults));
  return 0;
}

int Source(const Arguments& arguments) {
  if (arguments.size() != 1) return 2;
  std::uint32_t kind;
  if (arguments[0] == "none") {
    kind = KORVENSIM_SOURCE_NONE;
  } else if (arguments[0] == "2ch") {
    kind = KORVENSIM_SOURCE_TWO_CHANNEL;
  } else if (arguments[0] == "5.1") {
    kind = KORVENSIM_SOURCE_MULTI_CHANNEL;
  } else {
    return 2;
  }
  return Simple(KORVENSIM_SET_SOURCE, BytesOf(kind), ("source " + arguments[0]).c_str());
}

int Fail(const Arguments& arguments) {
  if (arguments.size() < 2 || arguments.size() > 3) return 2;
  KorvenSimFault fault{};
  fault.code = arguments[0] == "any" ? 0 : RequestCode(arguments[0]);
  if (fault.code == 0 && arguments[0] != "any") return 2;
  fault.count = std::strtoul(arguments[1].c_str(), nullptr, 0);
  if (arguments.size() == 3) {
    fault.status = static_cast<std::int32_t>(std::strtoul(arguments[2].c_str(), nullptr, 0));
  }
  const std::string done = "next " + std::to_string(fault.count) + " of " + arguments[0] + " fail";
  return Simple(KORVENSIM_FAIL_NEXT, BytesOf(fault), done.c_str());
}

int Plug(DWORD code, const Arguments& arguments, const char* done, int broadcasts) {
  int result = Simple(code, {}, done);
  if (result == 0 && !HasFlag(arguments, "--quiet")) Broadcast(broadcasts);
  return result;
}

int Topology(const Arguments& arguments) {
  if (arguments.empty() || arguments.size() > 2) return 2;
  KorvenSimTopology topology{};
  if (arguments[0] == "hub") {
    topology.behindHub = KORVENSIM_BEHIND_HUB;
  } else if (arguments[0] == "controller") {
    topology.behindHub = KORVENSIM_ON_SECOND_CONTROLLER;
  } else if (arguments[0] != "root") {
    return 2;
  }
  if (arguments.size() == 2) {
    topology.productId = std::strtoul(arguments[1].c_str(), nullptr, 0);
  }
  return Simple(KORVENSIM_SET_TOPOLOGY, BytesOf(topology), ("topology " + arguments[0]).c_str());
}

std::vector<std::uint8_t> ParseHex(const std::string& text, bool& ok) {
  std::vector<std::uint8_t> bytes;
  ok = text == "-" || text.size() % 2 == 0;
  if (text == "-" || !ok) return bytes;
  for (std::size_t at = 0; at < text.size(); at += 2) {
    char* end = nullptr;
    const std::string pair = text.substr(at, 2);
    const unsigned long value = std::strtoul(pair.c_str(), &end, 16);
    if (end != pair.c_str() + 2) {
      ok = false;
      return {};
    }
    bytes.push_back(static_cast<std::uint8_t>(value));
  }
  return bytes;
}

// One request on the device path, exactly as given.
int Send(const Arguments& arguments) {
  if (arguments.empty() || arguments.size() > 3) return 2;
  const DWORD code = RequestCode(arguments[0]);
  bool ok = true;
  const std::vector<std::uint8_t> input =
      ParseHex(arguments.size() > 1 ? arguments[1] : std::string("-"), ok);
  if (code == 0 || !ok) return 2;
  const DWORD outLength = arguments.size() > 2 ? std::strtoul(arguments[2].c_str(), nullptr, 0) : 0;
  Channel device(KORVENSIM_DEVICE_PATH);
  if (!device.IsOpen()) {
    std::printf("cannot open, error %lu\n", device.OpenError());
    return 1;
  }
  Answer answer = device.Send(code, input, outLength);
  if (!answer.ok) {
    std::printf("error %lu\n", answer.error);
    return 1;
  }
  std::string text = "ok returned=" + std::to_string(answer.output.size());
  if (!answer.output.empty()) {
    text += " out=";
    for (std::uint8_t byte : answer.output) {
      char pair[3];
      std::snprintf(pair, sizeof pair, "%02x", byte);
      text += pair;
    }
  }
  std::printf("%s\n", text.c_str());
  return 0;
}

int Open() {
  Channel device(KORVENSIM_DEVICE_PATH);
  if (!device.IsOpen()) {
    std::printf("cannot open, error %lu\n", device.OpenError());
    return 1;
  }
  std::printf("open\n");
  return 0;
}

int WaitDriver(const Arguments& arguments) {
  const int timeoutMs = arguments.empty() ? 10000 : std::atoi(arguments[0].c_str());
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    Channel control(KORVENSIM_CONTROL_PATH);
    if (control.IsOpen()) {
      std::printf("driver ready\n");
      return 0;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      std::printf("no simulated driver (%s: error %lu)\n", KORVENSIM_CONTROL_PATH,
                  control.OpenError());
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

// A steering value of the stand-in libraries: a number, text, or "-" to remove it.
int Steer(const Arguments& arguments) {
  if (arguments.size() != 2) return 2;
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KORVEN Simulation", 0, nullptr, 0,
                      KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    std::printf("cannot open the steering key\n");
    return 1;
  }
  const std::string& name = arguments[0];
  const std::string& value = arguments[1];
  LONG status;
  char* end = nullptr;
  const long number = std::strtol(value.c_str(), &end, 0);
  if (value == "-") {
    status = RegDeleteValueA(key, name.c_str());
    if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
  } else if (!value.empty() && *end == '\0') {
    const DWORD dword = static_cast<DWORD>(number);
    status = RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword),
                            sizeof dword);
  } else {
    status =
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) {
    std::printf("steering refused, error %ld\n", status);
    return 1;
  }
  std::printf("%s=%s\n", name.c_str(), value.c_str());
  return 0;
}

// Keeps one handle on the device path open through the steps: a request without buffers
// by name, "unplug" or "replug" (not broadcast). Shows what a handle from before a
// re-plug reaches.
int Hold(const Arguments& arguments) {
  if (arguments.empty()) return 2;
  Channel device(KORVENSIM_DEVICE_PATH);
  if (!device.IsOpen()) {
    std::printf("cannot open, error %lu\n", device.OpenError());
    return 1;
  }
  Channel control(KORVENSIM_CONTROL_PATH);
  if (!OpenControl(control)) return 1;
  for (const std::string& step : arguments) {
    Answer answer;
    if (step == "unplug" || step == "replug") {
      answer = control.Send(step == "unplug" ? KORVENSIM_UNPLUG : KORVENSIM_REPLUG, {}, 0);
    } else {
      const DWORD code = RequestCode(step);
      if (code == 0) return 2;
      answer = device.Send(code, {}, 0);
    }
    if (answer.ok) {
      std::printf("%s ok\n", step.c_str());
    } else {
      std::printf("%s error %lu\n", step.c_str(), answer.error);
    }
  }
  return 0;
}

// Loads a library and calls entry points without arguments, as the program does.
int Call(const Arguments& arguments) {
  if (arguments.size() < 2) return 2;
  HMODULE library = LoadLibraryA(arguments[0].c_str());
  if (library == nullptr) {
    std::printf("cannot load %s, error %lu\n", arguments[0].c_str(), GetLastError());
    return 1;
  }
  int result = 0;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    using Entry = int (*)();
    auto entry = reinterpret_cast<Entry>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, arguments[i].c_str())));
    if (entry == nullptr) {
      std::printf("%s missing\n", arguments[i].c_str());
      result = 1;
      continue;
    }
    SetLastError(0);
    const int value = entry();
    const long error = static_cast<long>(GetLastError());
    std::printf("%s -> %d error %ld\n", arguments[i].c_str(), value, error);
  }
  FreeLibrary(library);
  return result;
}

}  // namespace

void PrintUsage() {
  std::fprintf(stderr,
               "usage: korvenctl COMMAND [ARGUMENTS]\n"
               "  log [--no-poll] [--full]     the requests the device received, in order\n"
               "  clear-log                    forget them\n"
               "  state                        what the requests have set\n"
               "  source none|2ch|5.1          what IOCTL_GET_SOURCE_CHANNELS reports\n"
               "  fail REQUEST|any COUNT [STATUS]  the next COUNT such requests fail\n"
               "  unplug [--quiet]             pull the device out (and broadcast it)\n"
               "  replug [--quiet]             plug it back (and broadcast it twice)\n"
               "  broadcast [TIMES]            WM_DEVICECHANGE DBT_DEVNODES_CHANGED\n"
               "  topology root|hub|controller [PRODUCT]  where the device sits (controller:\n"
               "                               the second host controller), and its product id\n"
               "  controller add|remove        install or remove the second host controller\n"
               "  reset                        power-on state, empty log, no faults\n"
               "  send REQUEST [INHEX|-] [OUTLEN]  one request on the device path\n"
               "  open                         open the device path as the program does\n"
               "  hold STEP...                 one handle through requests, unplug, replug\n"
               "  usb                          the USB tree as the USB requests show it\n"
               "  call LIBRARY ENTRY...        call entry points of a library, no arguments\n"
               "  steer NAME VALUE|-           a steering value of the stand-in libraries\n"
               "  wait-driver [TIMEOUT_MS]     wait until the simulated driver answers\n");
}

int RunCommand(const std::string& command, const Arguments& arguments) {
  if (command == "log") return Log(arguments);
  if (command == "clear-log" && arguments.empty()) {
    return Simple(KORVENSIM_CLEAR_LOG, {}, "log cleared");
  }
  if (command == "state" && arguments.empty()) return State();
  if (command == "source") return Source(arguments);
  if (command == "fail") return Fail(arguments);
  if (command == "unplug") return Plug(KORVENSIM_UNPLUG, arguments, "unplugged", 1);
  if (command == "replug") return Plug(KORVENSIM_REPLUG, arguments, "plugged in", 2);
  if (command == "broadcast" && arguments.size() <= 1) {
    Broadcast(arguments.empty() ? 1 : std::atoi(arguments[0].c_str()));
    return 0;
  }
  if (command == "topology") return Topology(arguments);
  if (command == "controller" && arguments.size() == 1) {
    if (arguments[0] == "add") return AddHostController();
    if (arguments[0] == "remove") return RemoveHostController();
  }
  if (command == "reset" && arguments.empty()) return Simple(KORVENSIM_RESET, {}, "reset");
  if (command == "send") return Send(arguments);
  if (command == "open" && arguments.empty()) return Open();
  if (command == "usb" && arguments.empty()) {
    std::printf("%s", DescribeUsbTree().c_str());
    return 0;
  }
  if (command == "steer") return Steer(arguments);
  if (command == "call") return Call(arguments);
  if (command == "hold") return Hold(arguments);
  if (command == "wait-driver" && arguments.size() <= 1) return WaitDriver(arguments);
  return 2;
}

}  // namespace korvenctl
