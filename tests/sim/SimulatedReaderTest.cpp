#include <gtest/gtest.h>

#include <random>
#include <string>

#include "sim/SimulatedReader.h"

namespace pelgar::sim {
namespace {

constexpr char kEnter[] = ":0100001110DE";
constexpr char kRestore[] = ":0100001111DD";
constexpr char kGetConfig[] = ":020000110200EB";
constexpr char kSlideSwitch[] = ":0100001118D6";
constexpr char kCommit[] = ":0100001109E5";
constexpr char kGetHead[] = ":020000111900D4";
constexpr char kGetTail[] = ":020000111901D3";
constexpr char kGetCr[] = ":0100001114DA";
constexpr char kGetWedge[] = ":0100001116D8";

// A type-11 frame with the checksum appended, in the letter case given.
std::string Frame(const std::string& body_without_checksum) {
  unsigned sum = 0;
  for (size_t i = 1; i + 1 < body_without_checksum.size(); i += 2) {
    sum += std::stoul(body_without_checksum.substr(i, 2), nullptr, 16);
  }
  char checksum[3];
  std::snprintf(checksum, sizeof checksum, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
  return body_without_checksum + checksum;
}

std::string Repeat(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

unsigned PairAt(const std::string& reply, size_t position) {
  return static_cast<unsigned>(std::stoul(reply.substr(position, 2), nullptr, 16));
}

class SimulatedReaderTest : public ::testing::Test {
 protected:
  // Everything the reader sends back for `frame`, whatever the delays.
  std::string Send(const std::string& frame) {
    std::string all;
    for (const ReplyChunk& chunk : reader_.Receive(frame, reader_.state().baud)) {
      all += chunk.bytes;
    }
    return all;
  }
  void EnterCommandMode() { ASSERT_EQ(Send(kEnter), std::string(kEnter) + "."); }

  SimulatedReader reader_;
};

TEST_F(SimulatedReaderTest, AnswersOnlyModeSwitchesInFunctionalMode) {
  EXPECT_EQ(Send(kGetConfig), "");
  EXPECT_EQ(Send(kRestore), std::string(kRestore) + ".");
  EXPECT_FALSE(reader_.state().command_mode);
  EnterCommandMode();
  EXPECT_TRUE(reader_.state().command_mode);
  EXPECT_EQ(Send(kRestore), std::string(kRestore) + ".");
  EXPECT_FALSE(reader_.state().command_mode);
}

TEST_F(SimulatedReaderTest, ConfigurationReplyHoldsValuesAtTheHostsPositions) {
  reader_.state().active_option_byte = 0xC5;
  reader_.state().active_sentinels = {'%', ';', '+', '?'};
  reader_.state().revision = "REV 2.31";
  EnterCommandMode();
  std::string reply = Send(kGetConfig);
  ASSERT_GE(reply.size(), 53u);
  EXPECT_EQ(reply.substr(0, 15), kGetConfig);
  EXPECT_EQ(reply[15], '.');
  EXPECT_EQ(reply.substr(27, 2), "C5");
  EXPECT_EQ(PairAt(reply, 29), unsigned{'%'});
  EXPECT_EQ(PairAt(reply, 31), unsigned{';'});
  EXPECT_EQ(PairAt(reply, 33), unsigned{'+'});
  EXPECT_EQ(PairAt(reply, 35), unsigned{'?'});
  std::string revision;
  for (size_t i = 0; i < 8; ++i) revision += static_cast<char>(PairAt(reply, 37 + 2 * i));
  EXPECT_EQ(revision, "REV 2.31");
}

TEST_F(SimulatedReaderTest, SlideSwitchReplyReads800Or801OrNeither) {
  EnterCommandMode();
  EXPECT_EQ(Send(kSlideSwitch).substr(26, 3), "800");
  reader_.state().slide_switch = SlideSwitch::kWedge;
  EXPECT_EQ(Send(kSlideSwitch).substr(26, 3), "801");
  reader_.state().slide_switch = SlideSwitch::kNone;
  std::string neither = Send(kSlideSwitch).substr(26, 3);
  EXPECT_NE(neither, "800");
  EXPECT_NE(neither, "801");
}

TEST_F(SimulatedReaderTest, StoreModeZeroChangesOnlyWhatIsInUse) {
  EnterCommandMode();
  // Option byte 0x40 with the default sentinels, as the host formats it (small letters).
  const std::string temporary = ":060000110040253b2b3fdf";
  EXPECT_EQ(Send(temporary), temporary + ".");
  EXPECT_EQ(reader_.state().active_option_byte, 0x40);
  EXPECT_EQ(reader_.state().option_byte, 0x00);
  EXPECT_EQ(Send(kGetConfig).substr(27, 2), "40");
}

TEST_F(SimulatedReaderTest, StoreModeOneWithCommitReachesFlash) {
  EnterCommandMode();
  const std::string store = ":060000110140253b2b3fde";
  EXPECT_EQ(Send(store), store + ".");
  EXPECT_EQ(reader_.state().option_byte, 0x00);
  EXPECT_EQ(Send(kCommit), std::string(kCommit) + ".");
  EXPECT_EQ(reader_.state().option_byte, 0x40);
  reader_.state().PowerUp();
  EXPECT_EQ(reader_.state().active_option_byte, 0x40);
}

TEST_F(SimulatedReaderTest, RefusesFramesWithABadChecksumOrUnknownCode) {
  EnterCommandMode();
  const std::string bad = ":060000110140253b2b3fdf";
  EXPECT_EQ(Send(bad), bad + "?X");
  EXPECT_EQ(reader_.state().active_option_byte, 0x00);
  const std::string unknown = Frame(":0100001133");
  EXPECT_EQ(Send(unknown), unknown + "?X");
  const std::string not_hex = ":01000011ZZDE";
  EXPECT_EQ(Send(not_hex), not_hex + "?X");
}

TEST_F(SimulatedReaderTest, BuffersFramesSplitAcrossWritesAndSkipsNoise) {
  EnterCommandMode();
  std::string reply;
  for (const ReplyChunk& chunk : reader_.Receive("\r\n:0200", 19200)) reply += chunk.bytes;
  EXPECT_EQ(reply, "");
  // A frame cut short is dropped when the next one begins.
  for (const ReplyChunk& chunk : reader_.Receive(":0100001118D6", 19200)) reply += chunk.bytes;
  EXPECT_EQ(reply.substr(0, 14), std::string(kSlideSwitch) + ".");
  EXPECT_EQ(reader_.received_frames().back(), kSlideSwitch);
}

TEST_F(SimulatedReaderTest, DataWrapperRoundTrip) {
  EnterCommandMode();
  // Head "AB", tail "\x07Z": data 12 41 42 00 07 5A.
  const std::string frame = Frame(":0600001112414200075A");
  EXPECT_EQ(Send(frame), frame + ".");
  EXPECT_EQ(reader_.state().head_wrapper, "AB");
  EXPECT_EQ(reader_.state().tail_wrapper, "\x07Z");
  std::string head = Send(kGetHead);
  EXPECT_NE(head[16], 'X');
  EXPECT_EQ(head.substr(29, 6), "414200");
  std::string tail = Send(kGetTail);
  EXPECT_EQ(tail.substr(29, 6), "075A00");
}

TEST_F(SimulatedReaderTest, DataWrapperWithEmptyTailAndOverlongWrappers) {
  EnterCommandMode();
  const std::string empty_tail =
      ":04000011124142005"
      "6";
  EXPECT_EQ(Send(empty_tail), empty_tail + ".");
  EXPECT_EQ(reader_.state().head_wrapper, "AB");
  EXPECT_EQ(reader_.state().tail_wrapper, "");
  EXPECT_EQ(Send(kGetTail).substr(29, 2), "00");
  // 15 characters together are more than the reader keeps.
  const std::string overlong = Frame(":1100001112" + Repeat("41", 12) + "00" + Repeat("41", 3));
  EXPECT_EQ(Send(overlong), overlong + "?X");
  EXPECT_EQ(reader_.state().head_wrapper, "AB");
  // A wrapper of 14 characters fills positions 29 to 56.
  reader_.state().head_wrapper = std::string(20, 'C');
  EXPECT_EQ(Send(kGetHead).substr(29, 30), Repeat("43", 14) + "00");
}

TEST_F(SimulatedReaderTest, IndividualCrAndWedgeModeRoundTrip) {
  EnterCommandMode();
  EXPECT_EQ(Send(":020000111302D8"), ":020000111302D8.");
  EXPECT_EQ(reader_.state().cr_byte, 0x02);
  EXPECT_EQ(Send(kGetCr).substr(27, 2), "02");
  EXPECT_EQ(Send(kGetCr)[13], '.');
  for (const char* frame : {":020000111500D8", ":0200001115FFD9", ":020000111501D7"}) {
    EXPECT_EQ(Send(frame), std::string(frame) + ".");
    EXPECT_EQ(Send(kGetWedge).substr(27, 2), std::string(frame).substr(11, 2));
  }
  EXPECT_EQ(Send(Frame(":020000111502")), Frame(":020000111502") + "?X");
  EXPECT_EQ(reader_.state().wedge_language, 0x01);
}

TEST_F(SimulatedReaderTest, CustomTableSetAndSingleEntryReset) {
  EnterCommandMode();
  // Two entries: 0x41 -> 'x', 0x00 -> 'y' (a track 2 code of zero is a valid code).
  const std::string set = Frame(":06000011174100007879");
  EXPECT_EQ(Send(set), set + ".");
  EXPECT_EQ(reader_.state().custom_table[0x41], 'x');
  EXPECT_EQ(reader_.state().custom_table[0x00], 'y');
  reader_.state().custom_table[0x20] = '!';
  const std::string reset = ":040000111720002094";
  EXPECT_EQ(Send(reset), reset + ".");
  EXPECT_EQ(reader_.state().custom_table[0x20], 0x20);
  // Fewer replacements than codes: the halves cannot be matched.
  const std::string uneven = Frame(":050000111741420078");
  EXPECT_EQ(Send(uneven), uneven + "?X");
}

}  // namespace
}  // namespace pelgar::sim

namespace pelgar::sim {
namespace {

// Line garbage of every shape: colons, hex digits, lengths that promise more than comes.
TEST(SimulatedReaderGarbage, SurvivesRandomBytesAndStillAnswersAfterwards) {
  SimulatedReader reader;
  reader.Receive(":0100001110DE", 19200);
  std::mt19937 random(20240611);
  const std::string alphabet = ":0123456789ABCDEFabcdef\r\n\xFFX.";
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    const size_t length = random() % 40;
    for (size_t i = 0; i < length; ++i) bytes += alphabet[random() % alphabet.size()];
    for (const ReplyChunk& chunk : reader.Receive(bytes, 19200)) {
      EXPECT_LT(chunk.bytes.size(), 600u);
    }
  }
  reader.Receive(":", 19200);  // whatever is pending is cut short by the next frame
  reader.state().isp_mode = false;
  reader.state().command_mode = true;
  std::string reply;
  for (const ReplyChunk& chunk : reader.Receive(":0100001118D6", 19200)) reply += chunk.bytes;
  EXPECT_EQ(reply.substr(0, 14), ":0100001118D6.");
}

}  // namespace
}  // namespace pelgar::sim
