#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimulatedReader.h"

namespace pelgar::sim {
namespace {

constexpr char kEnter[] = ":0100001110DE";
constexpr char kGetConfig[] = ":020000110200EB";
constexpr char kCommit[] = ":0100001109E5";
constexpr char kGetHead[] = ":020000111900D4";

class FaultsTest : public ::testing::Test {
 protected:
  std::vector<ReplyChunk> Chunks(const std::string& frame, int32_t baud = 19200) {
    return reader_.Receive(frame, baud);
  }
  std::string Send(const std::string& frame) {
    std::string all;
    for (const ReplyChunk& chunk : Chunks(frame)) all += chunk.bytes;
    return all;
  }

  SimulatedReader reader_;
};

TEST_F(FaultsTest, SilentReaderLogsFramesButAnswersNothing) {
  reader_.faults().silent = true;
  EXPECT_EQ(Send(kEnter), "");
  EXPECT_FALSE(reader_.state().command_mode);
  EXPECT_EQ(reader_.received_frames(), std::vector<std::string>{kEnter});
}

TEST_F(FaultsTest, SilentAfterFramesAnswersTheFirstOnesOnly) {
  reader_.faults().silent_after_frames = 2;
  EXPECT_NE(Send(kEnter), "");
  EXPECT_NE(Send(kGetConfig), "");
  EXPECT_EQ(Send(kGetConfig), "");
  reader_.ClearLog();  // the count is the reader's, not the log's
  EXPECT_EQ(Send(kGetConfig), "");
}

TEST_F(FaultsTest, RejectRefusesCommandsButNotModeChanges) {
  reader_.faults().reject = true;
  EXPECT_EQ(Send(kEnter), std::string(kEnter) + ".");
  EXPECT_EQ(Send(kGetConfig), std::string(kGetConfig) + "?X");
  std::string head = Send(kGetHead);
  EXPECT_NE(head[15], '.');
  EXPECT_EQ(head[16], 'X');
  const std::string store = ":060000110140253b2b3fde";
  EXPECT_EQ(Send(store).find('.'), std::string::npos);
  EXPECT_EQ(reader_.state().active_option_byte, 0x00);
  std::string commit = Send(kCommit);
  EXPECT_NE(commit.back(), '.');
}

TEST_F(FaultsTest, LateCommitSendsTheAcknowledgementAfterItsDelay) {
  reader_.faults().late_commit_ms = 1500;
  Send(kEnter);
  std::vector<ReplyChunk> chunks = Chunks(kCommit);
  ASSERT_EQ(chunks.size(), 2u);
  EXPECT_EQ(chunks[0].delay_ms, 0);
  EXPECT_EQ(chunks[0].bytes, kCommit);
  EXPECT_EQ(chunks[1].delay_ms, 1500);
  EXPECT_EQ(chunks[1].bytes, ".");
}

TEST_F(FaultsTest, NoiseSurroundsTheReply) {
  Send(kEnter);
  reader_.faults().noise = true;
  std::string reply = Send(kGetConfig);
  EXPECT_NE(reply.substr(0, 15), kGetConfig);
  EXPECT_NE(reply.find(std::string(kGetConfig) + "."), std::string::npos);
  EXPECT_NE(reply.back(), '.');
}

TEST_F(FaultsTest, LongRepliesKeepTheirPositions) {
  Send(kEnter);
  reader_.faults().long_replies = true;
  reader_.state().active_option_byte = 0x51;
  std::string reply = Send(kGetConfig);
  EXPECT_GT(reply.size(), 99u);
  EXPECT_EQ(reply[15], '.');
  EXPECT_EQ(reply.substr(27, 2), "51");
}

TEST_F(FaultsTest, FramesAtAnotherRateAreGarbage) {
  reader_.state().baud = 9600;
  EXPECT_TRUE(Chunks(kEnter, 19200).empty());
  EXPECT_TRUE(reader_.received_frames().empty());
  // Half a frame at the wrong rate does not spoil the next one at the right rate.
  Chunks(":01000011", 19200);
  EXPECT_EQ(Send(""), "");
  std::string reply;
  for (const ReplyChunk& chunk : Chunks(kEnter, 9600)) reply += chunk.bytes;
  EXPECT_EQ(reply, std::string(kEnter) + ".");
}

}  // namespace
}  // namespace pelgar::sim
