#include "device/PortText.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <limits>

namespace pelgar::device {

std::string_view PortIdOf(std::string_view port_name) {
  constexpr size_t kPrefixLength = 3;  // "COM"
  return port_name.size() > kPrefixLength ? port_name.substr(kPrefixLength) : std::string_view{};
}

int32_t BaudOf(std::string_view baud_text) {
  size_t pos = 0;
  while (pos < baud_text.size() && std::isspace(static_cast<unsigned char>(baud_text[pos]))) {
    ++pos;
  }
  bool negative = false;
  if (pos < baud_text.size() && (baud_text[pos] == '+' || baud_text[pos] == '-')) {
    negative = baud_text[pos] == '-';
    ++pos;
  }
  int64_t value = 0;
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  for (; pos < baud_text.size() && std::isdigit(static_cast<unsigned char>(baud_text[pos]));
       ++pos) {
    // Saturate instead of overflowing: such a rate fails to open like any wrong one.
    value = std::min(kMax, value * 10 + (baud_text[pos] - '0'));
  }
  return static_cast<int32_t>(negative ? -value : value);
}

bool IsReaderBaudRate(int32_t baud) {
  return std::any_of(kBaudRates.begin(), kBaudRates.end(),
                     [baud](const BaudRate& rate) { return rate.value == baud; });
}

std::string UnsupportedBaudRateText(int32_t baud) {
  return "unsupported baud rate " + std::to_string(baud) + " (" + std::string(kBaud9600.text) +
         ", " + std::string(kBaud19200.text) + " or " + std::string(kBaud38400.text) + ")";
}

}  // namespace pelgar::device
