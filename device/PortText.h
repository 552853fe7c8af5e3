#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pelgar::device {

// The rates the reader's port runs at, as number and as the text the windows offer. The
// ISP ROM of a family-1 reader talks at 9600, that of families 2 and 3 at 19200.
struct BaudRate {
  int32_t value;
  std::string_view text;
};
inline constexpr BaudRate kBaud9600{9600, "9600"};
inline constexpr BaudRate kBaud19200{19200, "19200"};
inline constexpr BaudRate kBaud38400{38400, "38400"};
inline constexpr std::array<BaudRate, 3> kBaudRates = {kBaud9600, kBaud19200, kBaud38400};
// What a run works at unless told otherwise.
inline constexpr BaudRate kDefaultBaud = kBaud19200;
inline constexpr std::string_view kDefaultPortName = "COM3";

// A reader talks at these rates only: a link is never opened or set to any other, so that
// a mistyped rate is named as the cause instead of leaving the port at its previous one.
bool IsReaderBaudRate(int32_t baud);
// Why a link is not opened at `baud`: "unsupported baud rate 12345 (9600, 19200 or 38400)".
std::string UnsupportedBaudRateText(int32_t baud);

// What a link is opened with: the port name from its fourth character on ("3" for "COM3",
// "1 " for "COM1 "), empty for a shorter name. The serial link puts "COM" back in front.
std::string_view PortIdOf(std::string_view port_name);

// The baud text read as a decimal number: leading blanks and a sign, then digits up to
// the first other character; 0 when there are none. The command line keeps blanks, so
// " 19200" must still open at 19200; a text that is no rate reads as one the port refuses.
int32_t BaudOf(std::string_view baud_text);

}  // namespace pelgar::device
