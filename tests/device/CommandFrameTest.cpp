#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "device/CommandFrame.h"
#include "device/PortText.h"

namespace pelgar::device {
namespace {

// A sum that is a multiple of 256 gives 00, not 100.
TEST(CommandFrame, ChecksumIsTwosComplementOfTheByteSumInEitherCase) {
  const std::pair<const char*, uint8_t> kCases[] = {
      {":0100001110", 0xDE},           {":020000110200", 0xEB}, {":0100001109", 0xE5},
      {":060000110140253B2B3F", 0xDE}, {":01000011EE", 0x00},
  };
  for (auto [frame, checksum] : kCases) EXPECT_EQ(FrameChecksum(frame), checksum) << frame;
  EXPECT_EQ(WithChecksum(":060000110140253b2b3f", HexCase::kSmall), ":060000110140253b2b3fde");
  EXPECT_EQ(HexText("AB\xC8", HexCase::kCapital), "4142C8");  // no sign extension
}

// Leading hex digits only (no blank or sign skipped), and never past the reply's
// terminating zero.
TEST(ReplyPositions, ReadLeadingHexDigitsOnlyWithinTheReply) {
  std::array<char, 100> reply{};
  std::strcpy(reply.data(), "C5 5G G5 -1");
  reply[12] = 'C';  // after the terminating zero: not part of the reply
  std::string read;
  for (size_t at : {0u, 3u, 6u, 9u, 12u}) read += HexByte(ReplyByte(reply, at), HexCase::kCapital);
  EXPECT_EQ(read, "C505000000");
  EXPECT_EQ(std::string({ReplyChar(reply, 12), ReplyChar(reply, 500)}), std::string(2, '\0'));
  EXPECT_EQ(ReplyText(reply), "C5 5G G5 -1");
}

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
