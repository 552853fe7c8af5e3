#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "device/Exchange.h"
#include "tests/device/SessionFixture.h"

namespace pelgar::device {
namespace {

using ExchangeTest = SessionTest;

TEST_F(ExchangeTest, OverlongReplyIsReadToItsSilenceButStoredOnlyToTheBuffer) {
  reader_.faults().long_replies = true;
  SerialLink link(ports_, clock_);
  ASSERT_TRUE(link.Open("3", kBaud));
  // A reply buffer followed by a guard that must stay untouched.
  std::array<char, kReplySize + 20> memory;
  memory.fill('G');
  std::span<char> reply(memory.data(), kReplySize);
  EXPECT_TRUE(Exchange(link, ":0100001110DE", reply));
  EXPECT_EQ(strnlen(reply.data(), reply.size()), kReplySize - 1);
  EXPECT_EQ(std::string_view(reply.data(), 14), ":0100001110DE.");
  for (size_t i = kReplySize; i < memory.size(); ++i) ASSERT_EQ(memory[i], 'G');
  EXPECT_EQ(ports_.pending_bytes(), 0u);
  EXPECT_EQ(now(), kExchangeMs);
}

TEST_F(ExchangeTest, LateAcknowledgementIsFoundAfterOtherCharacters) {
  SerialLink link(ports_, clock_);
  ASSERT_TRUE(link.Open("3", kBaud));
  std::array<char, kReplySize> reply{};
  ASSERT_TRUE(Exchange(link, ":0100001110DE", reply));
  reader_.faults().late_commit_ms = 2000;
  reader_.faults().noise = true;
  // The reply is consumed by the wait itself: echo and noise first, then the ".".
  ASSERT_TRUE(link.Write(":0100001109E5"));
  EXPECT_TRUE(WaitForAcknowledge(link, kCommitAcknowledgeAttempts));
  EXPECT_EQ(ports_.pending_bytes(), 0u);
  EXPECT_FALSE(WaitForAcknowledge(link, 0));
}

}  // namespace
}  // namespace pelgar::device
