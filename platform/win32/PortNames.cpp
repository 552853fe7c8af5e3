#include "platform/PortNames.h"

#include <string_view>

namespace pelgar::platform {

// Windows names its ports itself: there is no folder of links to look in.
std::string PortDirectory() { return {}; }

std::string DevicePathForPort(const std::string& name) {
  const std::string_view trimmed = TrimPortName(name);
  // A device given by its path (pelgarctl -p \\.\COM12) is that device.
  if (trimmed.starts_with(R"(\\.\)")) return std::string(trimmed);
  const long number = ComPortNumber(trimmed);
  if (number < 1) return {};
  // The device namespace reaches every port; a bare "COM10" and above would name a file.
  // The number is written anew, so "COM03" is the port COM3.
  return R"(\\.\COM)" + std::to_string(number);
}

std::string PortNamesHelp() { return R"(COMn is the Windows port of that name (\\.\COMn).)"; }

}  // namespace pelgar::platform
