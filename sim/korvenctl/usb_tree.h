// A print-out of the USB tree as the published USB requests show it: every host controller,
// its root hub, and each port with what it holds, hubs followed down.
#pragma once

#include <string>

namespace korvenctl {

// One line per controller, hub and port; indented by depth.
std::string DescribeUsbTree();

}  // namespace korvenctl
