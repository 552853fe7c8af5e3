#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "device/CommandFrame.h"

namespace pelgar::device {
namespace {

TEST(CommandFrame, ChecksumIsTwosComplementOfTheByteSumInEitherCase) {
  const struct {
    const char* frame;
    uint8_t checksum;
  } kCases[] = {
      {":0100001110", 0xDE},
      {":020000110200", 0xEB},
      {":0100001111", 0xDD},
      {":0100001109", 0xE5},
      {":060000110140253B2B3F", 0xDE},
      {":01000011EE", 0x00},  // a sum that is a multiple of 256 gives 00, not 100
  };
  for (const auto& c : kCases) EXPECT_EQ(FrameChecksum(c.frame), c.checksum) << c.frame;
  EXPECT_EQ(WithChecksum(":060000110140253b2b3f", HexCase::kSmall), ":060000110140253b2b3fde");
  EXPECT_EQ(HexByte(0xDB, HexCase::kSmall), "db");
  EXPECT_EQ(HexText("AB\xC8", HexCase::kCapital), "4142C8");  // no sign extension
}

TEST(ReplyPositions, ReadLeadingHexDigitsOnlyUpToTheFirstZero) {
  std::array<char, 100> reply{};
  std::strcpy(reply.data(), "C5 5G G5 -1 7Fx");
  const std::pair<size_t, uint8_t> kCases[] = {
      {0, 0xC5},  {3, 0x05}, {6, 0x00},
      {12, 0x7F}, {9, 0xFF},  // a sign is taken, then cut to 8 bits
      {2, 0x05},              // strtol skips a leading blank
  };
  for (auto [position, value] : kCases) EXPECT_EQ(ReplyByte(reply, position), value) << position;

  std::strcpy(reply.data(), "AB");
  reply[3] = 'C';  // after the terminating zero: not part of the reply
  EXPECT_EQ(ReplyByte(reply, 1), 0x0B);
  EXPECT_EQ(ReplyByte(reply, 3), 0x00);
  EXPECT_EQ(ReplyChar(reply, 3), '\0');
  EXPECT_EQ(ReplyChar(reply, 500), '\0');
  EXPECT_EQ(ReplyText(reply), "AB");
}

}  // namespace
}  // namespace pelgar::device
