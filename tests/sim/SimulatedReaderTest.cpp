#include <gtest/gtest.h>

#include <string>

#include "sim/SimulatedReader.h"
#include "sim/StateFile.h"
#include "support/FirmwareImages.h"

namespace pelgar::sim {
namespace {

const std::string kEnter = ":0100001110DE";
const std::string kRestore = ":0100001111DD";
const std::string kGetConfig = ":020000110200EB";
const std::string kCommit = ":0100001109E5";
const std::string kSlideSwitch = ":0100001118D6";
const std::string kGetHead = ":020000111900D4";

using pelgar::testing::Record;

std::string Joined(const std::vector<ReplyChunk>& chunks) {
  std::string all;
  for (const ReplyChunk& chunk : chunks) all += chunk.bytes;
  return all;
}

// A reader in command mode.
class SimulatedReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Send(kEnter), kEnter + "."); }
  // The reply to `bytes`, then "~" and what the reader adds once the line goes quiet, if any.
  std::string Send(const std::string& bytes, int32_t baud = kDefaultBaud) {
    const std::string reply = Joined(reader_.Receive(bytes, baud));
    const std::string idle = Joined(reader_.Idle());
    return idle.empty() ? reply : reply + "~" + idle;
  }

  SimulatedReader reader_;
};

TEST_F(SimulatedReaderTest, LongestWrapperAndCodeZeroInTheCustomTable) {
  reader_.state().head_wrapper = "\x07" + std::string(13, 'D');  // as many as a reply holds
  EXPECT_EQ(Send(kGetHead),
            kGetHead + "." + Record("11000011190007" + std::string(26, '4') + "00"));
  const std::string table = Record("06000011174100007879");  // codes, 00, replacements
  EXPECT_EQ(Send(table), table + ".");
  EXPECT_EQ(reader_.state().custom_table[0x41], 'x');
  EXPECT_EQ(reader_.state().custom_table[0x00], 'y');  // a track 2 code may itself be 00
}

TEST_F(SimulatedReaderTest, StoreModeZeroChangesWhatIsInUseOnlyModeOneWithCommitReachesFlash) {
  const std::string temporary = ":060000110040253b2b3fdf";  // small letters, as a host writes
  EXPECT_EQ(Send(temporary), temporary + ".");
  EXPECT_EQ(Send(kGetConfig).substr(27, 2), "40");
  EXPECT_EQ(reader_.state().option_byte, 0x00);
  reader_.state().PowerUp();
  EXPECT_EQ(reader_.state().active_option_byte, 0x00);

  Send(kEnter);
  const std::string store = Record("0600001101512A2B2C2D");
  EXPECT_EQ(Send(store), store + ".");
  EXPECT_EQ(reader_.state().option_byte, 0x00);
  EXPECT_EQ(Send(kCommit), kCommit + ".");
  EXPECT_EQ(reader_.state().option_byte, 0x51);
  EXPECT_EQ(reader_.state().sentinels, (std::array<uint8_t, 4>{0x2A, 0x2B, 0x2C, 0x2D}));
  reader_.state().PowerUp();
  EXPECT_EQ(reader_.state().active_option_byte, 0x51);
}

TEST_F(SimulatedReaderTest, RefusesBadFramesAndParametersAndChangesNothing) {
  const std::string defaults = StateFile::Format(reader_.state());
  for (const std::string& frame : {
           std::string(":060000110140253b2b3fdf"),  // checksum off by one
           std::string(":01000011ZZDE"),
           Record("0100001133"),                                      // unknown code
           Record("1100001112" + std::string(24, '4') + "00414141"),  // 15 characters
           Record("0400001112414243"),                                // no 00
           Record("020000111502"),                                    // no such language
           Record("050000111741420078"),                              // 2 codes, 1 char
           Record("020000111902"),                                    // neither wrapper
       }) {
    EXPECT_EQ(Send(frame), frame + "?X");
  }
  EXPECT_EQ(StateFile::Format(reader_.state()), defaults);
  EXPECT_EQ(reader_.state().active_option_byte, 0x00);
}

TEST_F(SimulatedReaderTest, SplitFramesAndLineNoiseLeaveTheReaderAnswering) {
  EXPECT_EQ(Send("\r\n:0200"), "");  // noise, then a frame the next one cuts short
  EXPECT_EQ(Send(":01000011"), "");
  EXPECT_EQ(Send("18D6"), kSlideSwitch + ".:03000011001800D4");
  EXPECT_EQ(reader_.received_frames().back(), kSlideSwitch);
}

// The reject fault refuses commands, yet lets the host change modes.
TEST_F(SimulatedReaderTest, FunctionalModeAnswersOnlyEnterAndRestoreEvenUnderRejection) {
  reader_.faults().reject = true;
  EXPECT_EQ(Send(kGetConfig), kGetConfig + "?X");
  EXPECT_EQ(Send(kRestore), kRestore + ".");
  EXPECT_EQ(Send(kGetConfig), "");
  EXPECT_EQ(Send(":020000110200EC"), "");  // bad, yet no "?X"
  EXPECT_EQ(Send(kEnter), kEnter + ".");
}

// (Silence, late commits and long replies show in the device session's tests.)
TEST_F(SimulatedReaderTest, NoiseAndAnotherRateLeaveTheReplyWhole) {
  const std::string clean = Send(kGetConfig);
  reader_.faults().noise = true;
  const std::string noisy = Send(kGetConfig);
  const size_t at = noisy.find(clean);
  EXPECT_TRUE(at != std::string::npos && at > 0 && at + clean.size() < noisy.size()) << noisy;
  reader_.faults().noise = false;
  reader_.state().baud = 9600;
  EXPECT_EQ(Send(kGetConfig.substr(0, 8), 19200), "");  // half a frame at another rate
  EXPECT_EQ(Send(kGetConfig, 9600), clean);
}

// A frame longer than the padding target is answered as it is, not padded.
TEST_F(SimulatedReaderTest, LongRepliesLeaveAnAlreadyLongReplyAsItIs) {
  reader_.faults().long_replies = true;
  const std::string refused = Record("400000115F" + std::string(126, '0'));
  EXPECT_EQ(Send(refused), refused + "?X");
}

// Steps of a reader switched to ISP mode, fresh whenever a row names its revision (and with
// program memory of 0x0F): what the host sends at which rate, and all that comes back.
TEST_F(SimulatedReaderTest, IspModeSpeaksEachFamilysDialect) {
  const std::string record = ":10010000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF77";
  const std::string bad_record = record.substr(0, 42) + "8";  // its checksum off by one
  const std::string read_back = ":050000040100010F00E6U";
  const struct {
    const char* revision;
    std::string sent;
    std::string reply;
    int32_t baud = kDefaultBaud;
  } steps[] = {
      // Family 1 follows a new rate only through a synchronisation.
      {"REV 1.30", ":010000020BF2", "", 9600},
      {"", "UUUUUUUU", "UUUUUUUU", 9600},
      {"", ":010000020BF2", ":010000020BF2.\r", 9600},
      {"", ":010000020BF2", ""},
      // Its option frames carry no checksum; known lengths delimit them. They open the high
      // region; a frame the dialect does not know is judged when the line goes quiet.
      {"REV 1.30", ":020000030C30BF", ":020000030C30BFX\r"},
      {"", ":020000030400:030000030601FC:030000030600FF",
       ":020000030400.\r:030000030601FC.\r:030000030600FF.\r"},
      {"", ":020000030C30BF", ":020000030C30BF.\r"},
      {"", ":0200000309", "~:0200000309X\r"},
      // Families 2 and 3: programming clears bits; a page erase sets them again.
      {"REV 2.30", record, record + ".\r"},
      {"", read_back, read_back + ".0100 000102030405060708090A0B0C0D0E0F\r"},
      {"", ":03000003080100F1", ":03000003080100F1.\r"},  // page 0x0100
      {"", record, record + ".\r"},
      {"", read_back, read_back + ".0100 F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF\r"},
      {"", bad_record, bad_record + "X\r"},
      {"", ":0100000307F5", ":0100000307F5X\r"},  // family 1's commands
      {"", ":010000020BF2", ":010000020BF2X\r"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.sent);
    if (*step.revision != '\0') {
      reader_.state().PowerUp();
      reader_.state().revision = step.revision;
      reader_.state().program.fill(0x0F);
      const std::string entered = Send(kEnter + ":0100001107E7");
      EXPECT_EQ(entered, kEnter + ".:0100001107E7.");
      if (entered != kEnter + ".:0100001107E7.") continue;
    }
    EXPECT_EQ(Send(step.sent, step.baud), step.reply);
  }
}

}  // namespace
}  // namespace pelgar::sim
