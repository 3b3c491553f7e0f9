// The simulation's second host controller: a root-enumerated plug-and-play device of the
// driver that only the system's device list names, and that list as a program reads it.
#pragma once

#include <string>
#include <vector>

namespace korvenctl {

// Installs the device from korvensim_hc.inf beside korvenctl; 0 done, 1 failed.
int AddHostController();
// Removes the device again (the driver stops serving it); 0 done or not there, 1 failed.
int RemoveHostController();
// The device paths of the present host controllers the device list names.
std::vector<std::string> ListedHostControllers();

}  // namespace korvenctl
