// How a test steers the stand-in libraries: values under the simulation's own key in the
// machine hive, always in its 64-bit view so that 32-bit and 64-bit libraries agree.
#pragma once

#include <optional>
#include <string>

namespace korvensim {

// HKEY_LOCAL_MACHINE\SOFTWARE\KORVEN Simulation
inline constexpr char kSteeringKey[] = "SOFTWARE\\KORVEN Simulation";
// The string value naming a file that every call of the libraries appends one line to.
inline constexpr char kCallLogValue[] = "CallLog";

// The DWORD value `name` as a signed number; empty when it is not set.
std::optional<long> ReadSteering(const char* name);
// The string value `name`; empty when it is not set.
std::string ReadSteeringText(const char* name);
// Appends `line` and a line end to the call log, when one is named.
void LogCall(const std::string& line);

}  // namespace korvensim
