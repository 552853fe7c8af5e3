#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "device/CommandFrame.h"

namespace pelgar::device {
namespace {

TEST(CommandFrame, ChecksumIsTwosComplementOfByteSum) {
  EXPECT_EQ(FrameChecksum(":0100001110"), 0xDE);
  EXPECT_EQ(FrameChecksum(":020000110200"), 0xEB);
  EXPECT_EQ(FrameChecksum(":0100001111"), 0xDD);
  EXPECT_EQ(FrameChecksum(":0100001109"), 0xE5);
  // A byte sum that is a multiple of 256 gives 00, not 100.
  EXPECT_EQ(FrameChecksum(":01000011EE"), 0x00);
}

TEST(CommandFrame, ChecksumReadsDigitsOfEitherCase) {
  EXPECT_EQ(WithChecksum(":060000110140253b2b3f", HexCase::kSmall), ":060000110140253b2b3fde");
  EXPECT_EQ(FrameChecksum(":060000110140253B2B3F"), 0xDE);
}

TEST(CommandFrame, HexKeepsTheLetterCaseOfItsFormat) {
  EXPECT_EQ(HexByte(0xDB, HexCase::kSmall), "db");
  EXPECT_EQ(HexByte(0xDB, HexCase::kCapital), "DB");
  EXPECT_EQ(HexText("AB\xC8", HexCase::kCapital), "4142C8");
  EXPECT_EQ(HexText("", HexCase::kCapital), "");
}

std::array<char, 100> Reply(const char* text) {
  std::array<char, 100> reply{};
  std::strncpy(reply.data(), text, reply.size() - 1);
  return reply;
}

TEST(ReplyPositions, ReadLeadingHexDigitsOnly) {
  auto reply = Reply("C5 5G G5 -1 7Fx");
  EXPECT_EQ(ReplyByte(reply, 0), 0xC5);
  EXPECT_EQ(ReplyByte(reply, 3), 0x05);
  EXPECT_EQ(ReplyByte(reply, 6), 0x00);
  EXPECT_EQ(ReplyByte(reply, 9), 0xFF);  // a sign is taken, then cut to 8 bits
  EXPECT_EQ(ReplyByte(reply, 12), 0x7F);
  EXPECT_EQ(ReplyByte(reply, 2), 0x05);  // strtol skips a leading blank
}

TEST(ReplyPositions, EndAtTheFirstZero) {
  auto reply = Reply("AB");
  reply[3] = 'C';  // after the terminating zero: not part of the reply
  reply[4] = 'D';
  EXPECT_EQ(ReplyByte(reply, 1), 0x0B);
  EXPECT_EQ(ReplyByte(reply, 3), 0x00);
  EXPECT_EQ(ReplyChar(reply, 3), '\0');
  EXPECT_EQ(ReplyChar(reply, 500), '\0');
  EXPECT_EQ(ReplyText(reply), "AB");
}

}  // namespace
}  // namespace pelgar::device
