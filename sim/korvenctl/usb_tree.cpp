#include "korvenctl/usb_tree.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "korvenctl/host_controller.h"

namespace korvenctl {
namespace {

constexpr DWORD kGetRootHubName = 0x220408;
constexpr DWORD kGetNodeInformation = 0x220408;
constexpr DWORD kGetNodeConnectionInformation = 0x22040C;
constexpr DWORD kGetNodeConnectionName = 0x220414;
constexpr int kControllers = 10;
constexpr int kMaxDepth = 8;

DWORD Read32(const std::uint8_t* at) {
  return DWORD{at[0]} | (DWORD{at[1]} << 8) | (DWORD{at[2]} << 16) | (DWORD{at[3]} << 24);
}

unsigned Read16(const std::uint8_t* at) {
  return at[0] | (at[1] << 8);
}

void Write32(std::uint8_t* at, DWORD value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

HANDLE Open(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                     nullptr);
}

bool Ask(HANDLE handle, DWORD code, std::vector<std::uint8_t>& record, bool withInput) {
  DWORD returned = 0;
  return DeviceIoControl(handle, code, withInput ? record.data() : nullptr,
                         withInput ? static_cast<DWORD>(record.size()) : 0, record.data(),
                         static_cast<DWORD>(record.size()), &returned, nullptr) != FALSE;
}

std::string Narrow(const std::vector<std::uint8_t>& record, std::size_t offset) {
  std::string name;
  for (std::size_t at = offset; at + 1 < record.size(); at += 2) {
    unsigned c = Read16(&record[at]);
    if (c == 0) break;
    name.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  return name;
}

// A name record asked for twice: first its length, then the whole of it.
std::string AskName(HANDLE handle, DWORD code, std::size_t lengthOffset, std::size_t nameOffset,
                    std::size_t headSize, DWORD port) {
  const bool withInput = port != 0;
  std::vector<std::uint8_t> head(headSize, 0);
  if (withInput) Write32(head.data(), port);
  if (!Ask(handle, code, head, withInput)) return {};
  const DWORD length = Read32(&head[lengthOffset]);
  if (length <= nameOffset || length > 0x10000) return {};
  std::vector<std::uint8_t> record(length, 0);
  if (withInput) Write32(record.data(), port);
  if (!Ask(handle, code, record, withInput)) return {};
  return Narrow(record, nameOffset);
}

void Line(std::string& out, int depth, const std::string& text) {
  out += std::string(2 * depth, ' ') + text + "\n";
}

void DescribeHub(std::string& out, const std::string& name, int depth) {
  HANDLE hub = Open("\\\\.\\" + name);
  if (hub == INVALID_HANDLE_VALUE) {
    Line(out, depth, "hub " + name + ": cannot open, error " + std::to_string(GetLastError()));
    return;
  }
  std::vector<std::uint8_t> node(80, 0);
  if (!Ask(hub, kGetNodeInformation, node, true)) {
    Line(out, depth, "hub " + name + ": no node information");
    CloseHandle(hub);
    return;
  }
  const unsigned ports = node[6];
  Line(out, depth, "hub " + name + " ports=" + std::to_string(ports));
  for (unsigned port = 1; port <= ports; ++port) {
    std::vector<std::uint8_t> info(40, 0);
    Write32(info.data(), port);
    char text[96];
    if (!Ask(hub, kGetNodeConnectionInformation, info, true)) {
      std::snprintf(text, sizeof text, "port %u: error %lu", port, GetLastError());
    } else if (Read32(&info[31]) == 0) {
      std::snprintf(text, sizeof text, "port %u: empty", port);
    } else {
      std::snprintf(text, sizeof text, "port %u: %s %04x:%04x", port,
                    info[24] != 0 ? "hub" : "device", Read16(&info[12]), Read16(&info[14]));
    }
    Line(out, depth + 1, text);
    if (info[24] != 0 && depth < kMaxDepth) {
      std::string child = AskName(hub, kGetNodeConnectionName, 4, 8, 12, port);
      if (!child.empty()) DescribeHub(out, child, depth + 2);
    }
  }
  CloseHandle(hub);
}

void DescribeController(std::string& out, const std::string& path, const std::string& title) {
  HANDLE controller = Open(path);
  if (controller == INVALID_HANDLE_VALUE) {
    if (title != path) return;  // a legacy name that isn't there
    Line(out, 0, title + ": cannot open, error " + std::to_string(GetLastError()));
    return;
  }
  Line(out, 0, title);
  std::string root = AskName(controller, kGetRootHubName, 0, 4, 8, 0);
  if (root.empty()) {
    Line(out, 1, "no root hub name");
  } else {
    DescribeHub(out, root, 1);
  }
  CloseHandle(controller);
}

}  // namespace

std::string DescribeUsbTree() {
  std::string out;
  for (int i = 0; i < kControllers; ++i) {
    DescribeController(out, "\\\\.\\HCD" + std::to_string(i), "HCD" + std::to_string(i));
  }
  // Then the controllers of the system's device list, by their interface's path.
  for (const std::string& path : ListedHostControllers()) DescribeController(out, path, path);
  if (out.empty()) out = "no host controller\n";
  return out;
}

}  // namespace korvenctl
