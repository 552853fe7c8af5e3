#pragma once

#include <string>

namespace pelgar::platform {

// Port names are the program's own, "COM" and a number (COM3); each system says which device
// a name stands for. On POSIX systems a folder of links maps the names (platform/posix/).

// Where the program looks for its COMn entries: $PELGAR_PORT_DIR, else
// $XDG_CONFIG_HOME/pelgar/ports, else ~/.config/pelgar/ports.
std::string PortDirectory();

// The device behind a port name: the entry of that name in the port directory when there
// is one (usually a link to /dev/ttyUSB0 or a pseudo-terminal), else /dev/ttyS<n-1> for
// COMn. Trailing blanks are ignored, since a port name typed as "COM1 " means COM1.
// Returns an empty text for a name that maps to no device.
std::string DevicePathForPort(const std::string& name);

}  // namespace pelgar::platform
