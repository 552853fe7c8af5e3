#include <gtest/gtest.h>

#include "sim/IspResponder.h"
#include "sim/SimOptions.h"
#include "sim/SimulatedReader.h"

namespace pelgar::sim {
namespace {

std::string Joined(const std::vector<ReplyChunk>& chunks) {
  std::string all;
  for (const ReplyChunk& chunk : chunks) all += chunk.bytes;
  return all;
}

// A reader switched to ISP mode over command mode at 19200 baud. (Its faults, and the
// revision it reports after an update, show in the update window's flow tests.)
class IspResponderTest : public ::testing::Test {
 protected:
  void EnterIsp(const std::string& revision) {
    reader.state().revision = revision;
    Send(":0100001110DE");
    ASSERT_EQ(Send(":0100001107E7"), ":0100001107E7.");
    ASSERT_TRUE(reader.state().isp_mode);
  }
  std::string Send(std::string_view bytes, int32_t baud = 19200) {
    std::string reply = Joined(reader.Receive(bytes, baud));
    return reply + Joined(reader.Idle());
  }

  SimulatedReader reader;
};

TEST_F(IspResponderTest, FollowsTheRateOnlyThroughASynchronisation) {
  EnterIsp("REV 1.30");
  EXPECT_EQ(Send(":010000020BF2", 9600), "");  // not synchronised to 9600 yet: noise
  EXPECT_EQ(Send("UUUUUUUU", 9600), "UUUUUUUU");
  EXPECT_EQ(Send(":010000020BF2", 9600), ":010000020BF2.\r");
  EXPECT_EQ(Send(":010000020BF2", 19200), "");
}

TEST_F(IspResponderTest, Family1OptionFramesNeedNoChecksumAndOpenTheHighRegion) {
  EnterIsp("REV 1.30");
  EXPECT_EQ(Send(":020000030C30BF"), ":020000030C30BFX\r");  // the high region is locked
  // The three option frames in one write: known lengths delimit them.
  EXPECT_EQ(Joined(reader.Receive(":020000030400:030000030601FC:030000030600FF", 19200)),
            ":020000030400.\r:030000030601FC.\r:030000030600FF.\r");
  EXPECT_EQ(Send(":020000030C30BF"), ":020000030C30BF.\r");
  // A frame the dialect does not know is judged when the line goes quiet.
  EXPECT_EQ(Joined(reader.Receive(":0200000309", 19200)), "");
  EXPECT_EQ(Joined(reader.Idle()), ":0200000309X\r");
}

TEST_F(IspResponderTest, ProgrammingClearsBitsAndReadBackReportsThem) {
  EnterIsp("REV 2.30");
  reader.state().program.fill(0x0F);
  const std::string record = ":10010000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF77";
  EXPECT_EQ(Send(record), record + ".\r");  // 45 characters: the host's counted read
  std::string read_back = Send(":050000040100010F00E6U");
  ASSERT_EQ(read_back.size(), 61u);
  EXPECT_EQ(read_back.substr(22, 5), ".0100");
  EXPECT_EQ(read_back.substr(28, 32), "000102030405060708090A0B0C0D0E0F");

  EXPECT_EQ(Send(":03000003080100F1"), ":03000003080100F1.\r");  // page 0x0100
  EXPECT_EQ(Send(record), record + ".\r");
  EXPECT_EQ(Send(":050000040100010F00E6U").substr(28, 32), "F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF");
}

TEST_F(IspResponderTest, RefusesBadChecksumsAndTheOtherDialect) {
  EnterIsp("REV 2.30");
  EXPECT_EQ(Send(":10010000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF78").back(), '\r');
  EXPECT_EQ(Send(":10010000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF78").substr(43, 1), "X");
  EXPECT_EQ(Send(":0100000307F5"), ":0100000307F5X\r");
  EXPECT_EQ(Send(":010000020BF2"), ":010000020BF2X\r");
}

SimOptions Parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "pelgar-sim");
  SimOptions options;
  std::string error;
  EXPECT_TRUE(
      ParseSimOptions(static_cast<int>(arguments.size()), arguments.data(), &options, &error))
      << error;
  return options;
}

TEST(SimOptions, FamilyAndIspFaults) {
  EXPECT_EQ(Parse({"--port", "COM3", "--family", "1"}).revision, "REV 1.30");
  EXPECT_EQ(Parse({"--family=3", "--port", "COM3", "--revision", "REV 2.50"}).revision, "REV 3.50");
  EXPECT_EQ(Parse({"--port", "COM3", "--fault", "newer-revision"}).revision, "REV 2.99");
  SimOptions faults = Parse({"--port", "COM3", "--fault", "isp-silent", "--fault",
                             "isp-mismatch=0x0104", "--fault", "isp-unacknowledged=3FF0"});
  EXPECT_TRUE(faults.faults.isp_silent);
  EXPECT_EQ(faults.faults.isp_mismatch_address, 0x0104);
  EXPECT_EQ(faults.faults.isp_unacknowledged_address, 0x3FF0);

  for (std::vector<const char*> bad : {std::vector<const char*>{"--family", "4"},
                                       {"--fault", "isp-mismatch=4000"},
                                       {"--fault", "isp-unacknowledged"}}) {
    bad.insert(bad.begin(), {"pelgar-sim", "--port", "COM3"});
    SimOptions options;
    std::string error;
    EXPECT_FALSE(ParseSimOptions(static_cast<int>(bad.size()), bad.data(), &options, &error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace pelgar::sim
