#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "device/PortText.h"

namespace pelgar::device {
namespace {

// The session and the firmware updater open their links with this reading: the command
// line keeps blanks, so " 19200" must still be 19200, and text with no digits reads as 0,
// a rate no port opens at.
TEST(BaudOf, ReadsLeadingDigitsAfterBlanksAndASign) {
  const std::pair<std::string_view, int32_t> kCases[] = {
      {"19200", 19200}, {" 19200", 19200}, {"19200 ", 19200},
      {"+9600", 9600},  {"-5", -5},        {"96x00", 96},
      {"abc", 0},       {"", 0},           {"99999999999", INT32_MAX},
  };
  for (auto [text, baud] : kCases) EXPECT_EQ(BaudOf(text), baud) << '"' << text << '"';
}

}  // namespace
}  // namespace pelgar::device
