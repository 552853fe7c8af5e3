#pragma once

#include <string>

namespace pelgar::platform {

// Where the program looks for its COMn entries: $PELGAR_PORT_DIR, else
// $XDG_CONFIG_HOME/pelgar/ports, else ~/.config/pelgar/ports.
std::string PortDirectory();

// The device behind a port name: the entry of that name in the port directory when there
// is one (usually a link to /dev/ttyUSB0 or a pseudo-terminal), else /dev/ttyS<n-1> for
// COMn. Trailing blanks are ignored, as the original platform ignored them ("COM1 ").
// Returns an empty text for a name that maps to no device.
std::string DevicePathForPort(const std::string& name);

}  // namespace pelgar::platform
