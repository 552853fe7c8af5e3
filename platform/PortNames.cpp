#include "platform/PortNames.h"

namespace pelgar::platform {

std::string_view TrimPortName(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

long ComPortNumber(std::string_view name) {
  if (name.size() < 4 || !name.starts_with("COM")) return 0;
  long number = 0;
  for (char c : name.substr(3)) {
    if (c < '0' || c > '9' || number > 1000) return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

}  // namespace pelgar::platform
