#include "platform/PortNames.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string_view>

namespace pelgar::platform {

std::string PortDirectory() {
  if (const char* dir = std::getenv("PELGAR_PORT_DIR"); dir != nullptr && *dir != '\0') {
    return dir;
  }
  // A relative XDG_CONFIG_HOME is invalid and to be ignored, as the XDG rules say.
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
    return std::string(xdg) + "/pelgar/ports";
  }
  // Without a home there is no folder of the user's to look in: "/.config" is nobody's.
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return std::string(home) + "/.config/pelgar/ports";
}

std::string DevicePathForPort(const std::string& name) {
  const std::string_view trimmed = TrimPortName(name);
  // A device given by its path (pelgarctl -p /dev/ttyUSB0) is that device.
  if (trimmed.starts_with('/')) return std::string(trimmed);
  // Any other name with a path separator or a dot entry would escape the port directory.
  if (trimmed.empty() || trimmed.find('/') != std::string_view::npos || trimmed == "." ||
      trimmed == "..") {
    return {};
  }
  if (const std::string directory = PortDirectory(); !directory.empty()) {
    std::string entry = directory + "/" + std::string(trimmed);
    struct stat info;
    if (lstat(entry.c_str(), &info) == 0) return entry;
  }

  const long number = ComPortNumber(trimmed);
  if (number < 1) return {};
  return "/dev/ttyS" + std::to_string(number - 1);
}

std::string PortNamesHelp() {
  return "COMn is the entry COMn in $PELGAR_PORT_DIR (default $XDG_CONFIG_HOME/pelgar/ports,\n"
         "else ~/.config/pelgar/ports), else /dev/ttyS<n-1>.";
}

}  // namespace pelgar::platform
