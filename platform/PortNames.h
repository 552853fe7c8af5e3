#pragma once

#include <string>
#include <string_view>

namespace pelgar::platform {

// Port names are the program's own, "COM" and a number (COM3); each system says which device
// a name stands for, in its own folder. On POSIX systems a folder of links maps the names;
// Windows has devices of those names itself.

// Where the program looks for its COMn entries on POSIX systems: $PELGAR_PORT_DIR, else
// $XDG_CONFIG_HOME/pelgar/ports (only an absolute one), else ~/.config/pelgar/ports; empty
// when none of these is set. Empty on Windows, which needs no such folder.
std::string PortDirectory();

// The device behind a port name, or an empty text for a name that maps to no device.
// Trailing blanks are ignored, since a port name typed as "COM1 " means COM1.
// On POSIX systems: the entry of that name in the port directory when there is one (usually
// a link to /dev/ttyUSB0 or a pseudo-terminal), else /dev/ttyS<n-1> for COMn.
// On Windows: \\.\COMn for COMn, the form that reaches every port number (a bare COM10 would
// name a file), and nothing for any other name.
// On both, a device path (/dev/ttyUSB0, \\.\COM12) names that device itself.
std::string DevicePathForPort(const std::string& name);

// A port name without its trailing blanks.
std::string_view TrimPortName(std::string_view name);
// The number n of a name "COMn" (n from 1, at most a few thousand); 0 for any other name.
long ComPortNumber(std::string_view name);

// One line for the program's usage text: what COMn means on this system.
std::string PortNamesHelp();

}  // namespace pelgar::platform
