#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

#include "sim/SimulatedReader.h"
#include "sim/StateFile.h"

namespace pelgar::sim {
namespace {

const std::string kEnter = ":0100001110DE";
const std::string kRestore = ":0100001111DD";
const std::string kGetConfig = ":020000110200EB";
const std::string kCommit = ":0100001109E5";
const std::string kSlideSwitch = ":0100001118D6";
const std::string kGetHead = ":020000111900D4";
const std::string kGetTail = ":020000111901D3";
const std::string kGetCr = ":0100001114DA";
const std::string kGetWedge = ":0100001116D8";

// ":" + the hex body + its checksum in capitals.
std::string Frame(const std::string& body) {
  unsigned sum = 0;
  for (size_t i = 0; i + 1 < body.size(); i += 2) sum += std::stoul(body.substr(i, 2), nullptr, 16);
  char checksum[3];
  std::snprintf(checksum, sizeof checksum, "%02X", (0x100 - sum % 0x100) % 0x100);
  return ":" + body + checksum;
}

std::string Joined(const std::vector<ReplyChunk>& chunks) {
  std::string all;
  for (const ReplyChunk& chunk : chunks) all += chunk.bytes;
  return all;
}

// A reader in command mode.
class SimulatedReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Send(kEnter), kEnter + "."); }
  std::string Send(const std::string& bytes, int32_t baud = kDefaultBaud) {
    return Joined(reader_.Receive(bytes, baud));
  }

  SimulatedReader reader_;
};

// Each reply is the echo, ".", and a record whose every byte a host may read.
TEST_F(SimulatedReaderTest, QueriesAnswerWhatIsInUseAndWhatWasSet) {
  ReaderState& state = reader_.state();
  state.active_option_byte = 0xC5;  // in use; flash still holds 00
  state.active_sentinels = {'a', 'b', 'c', 'd'};
  state.revision = "REV 2.31";
  state.slide_switch = SlideSwitch::kWedge;
  state.head_wrapper = "\x07" + std::string(13, 'D');  // as many as a reply holds
  state.cr_byte = 0x02;
  const struct {
    std::string set;  // sent first when there is one
    std::string query;
    std::string record;
  } cases[] = {
      {"", kGetConfig, "0E00001102C56162636452455620322E3331"},  // ... "REV 2.31"
      {"", kSlideSwitch, "03000011001801"},
      {"", kGetHead, "11000011190007" + std::string(26, '4') + "00"},
      {"", kGetTail, "03000011190100"},
      {"", kGetCr, "03000011001402"},
      {"", kGetWedge, "03000011001601"},
      {Frame("0600001112414200075A"), kGetHead, "050000111900414200"},  // "AB", BEL "Z"
      {"", kGetTail, "050000111901075A00"},
      {Frame("02000011131E"), kGetCr, "0300001100141E"},
      {":020000111500D8", kGetWedge, "03000011001600"},
      {":0200001115FFD9", kGetWedge, "030000110016FF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.set + " " + c.query);
    EXPECT_EQ(Send(c.set), c.set.empty() ? "" : c.set + ".");
    EXPECT_EQ(Send(c.query), c.query + "." + Frame(c.record));
  }
  // Custom table entries: codes, 00, replacements; a track 2 code may itself be 00.
  const std::string table = Frame("06000011174100007879");
  EXPECT_EQ(Send(table), table + ".");
  EXPECT_EQ(state.custom_table[0x41], 'x');
  EXPECT_EQ(state.custom_table[0x00], 'y');
}

TEST_F(SimulatedReaderTest, StoreModeZeroChangesWhatIsInUseOnlyModeOneWithCommitReachesFlash) {
  const std::string temporary = ":060000110040253b2b3fdf";  // small letters, as a host writes
  EXPECT_EQ(Send(temporary), temporary + ".");
  EXPECT_EQ(Send(kGetConfig).substr(27, 2), "40");
  EXPECT_EQ(reader_.state().option_byte, 0x00);
  reader_.state().PowerUp();
  EXPECT_EQ(reader_.state().active_option_byte, 0x00);

  Send(kEnter);
  const std::string store = Frame("0600001101512A2B2C2D");
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
           Frame("0100001133"),                                      // unknown code
           Frame("1100001112" + std::string(24, '4') + "00414141"),  // 15 characters
           Frame("0400001112414243"),                                // no 00
           Frame("020000111502"),                                    // no such language
           Frame("050000111741420078"),                              // 2 codes, 1 char
           Frame("020000111902"),                                    // neither wrapper
       }) {
    EXPECT_EQ(Send(frame), frame + "?X");
  }
  EXPECT_EQ(StateFile::Format(reader_.state()), defaults);
  EXPECT_EQ(reader_.state().active_option_byte, 0x00);
}

TEST_F(SimulatedReaderTest, SplitFramesAndLineGarbageLeaveTheReaderAnswering) {
  EXPECT_EQ(Send("\r\n:0200"), "");  // noise, then a frame the next one cuts short
  EXPECT_EQ(Send(":01000011"), "");
  EXPECT_EQ(Send("18D6"), kSlideSwitch + ".:03000011001800D4");
  EXPECT_EQ(reader_.received_frames().back(), kSlideSwitch);

  std::mt19937 random(20240611);
  const std::string alphabet = ":0123456789ABCDEFabcdef\r\n\xFFX.";
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(random() % 40, ' ');
    for (char& c : bytes) c = alphabet[random() % alphabet.size()];
    for (const ReplyChunk& chunk : reader_.Receive(bytes, kDefaultBaud)) {
      EXPECT_LT(chunk.bytes.size(), 600u);
    }
  }
  Send(":");
  reader_.state().isp_mode = false;
  reader_.state().command_mode = true;
  EXPECT_EQ(Send(kSlideSwitch).substr(0, 14), kSlideSwitch + ".");
}

// Each row: a reader in command mode, changed by `set`, is sent `frame`.
TEST(SimulatedReaderAnswers, DependOnModeRateAndFaults) {
  using R = SimulatedReader&;
  const struct {
    void (*set)(SimulatedReader&);
    std::string frame;
    std::string reply;
  } cases[] = {
      {[](R r) { r.Receive(kRestore, kDefaultBaud); }, kGetConfig, ""},         // functional mode
      {[](R r) { r.Receive(kRestore, kDefaultBaud); }, ":020000110200EC", ""},  // bad, yet no "?X"
      {[](R r) { r.state().baud = 9600; }, kEnter, ""},  // garbage at another rate
      {[](R r) { r.faults().silent = true; }, kGetConfig, ""},
      {[](R r) { r.faults().silent_after_frames = 2; }, kEnter, kEnter + "."},
      {[](R r) { r.faults().silent_after_frames = 1; }, kEnter, ""},  // counts from the start
      {[](R r) { r.faults().reject = true; }, kGetConfig, kGetConfig + "?X"},
      {[](R r) { r.faults().reject = true; }, kGetHead, kGetHead + "?X"},  // "X" at 16
      {[](R r) { r.faults().reject = true; }, kCommit, kCommit + "?X"},
      {[](R r) { r.faults().reject = true; }, kRestore, kRestore + "."},  // modes still change
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frame);
    SimulatedReader reader;
    reader.Receive(kEnter, kDefaultBaud);
    c.set(reader);
    EXPECT_EQ(Joined(reader.Receive(c.frame, kDefaultBaud)), c.reply);
  }
}

TEST_F(SimulatedReaderTest, FaultsThatReshapeTheReply) {
  const std::string clean = Send(kGetConfig);
  reader_.faults().noise = true;
  const std::string noisy = Send(kGetConfig);
  const size_t at = noisy.find(clean);
  EXPECT_TRUE(at != std::string::npos && at > 0 && at + clean.size() < noisy.size()) << noisy;

  reader_.faults() = Faults{.long_replies = true};
  const std::string long_reply = Send(kGetConfig);
  EXPECT_GT(long_reply.size(), 99u);
  EXPECT_EQ(long_reply.substr(0, clean.size()), clean);
  EXPECT_EQ(Send(kCommit).back(), '.');

  reader_.faults() = Faults{.late_commit_ms = 1500};
  std::string timed;
  for (const ReplyChunk& chunk : reader_.Receive(kCommit, kDefaultBaud)) {
    timed += "+" + std::to_string(chunk.delay_ms) + " " + chunk.bytes;
  }
  EXPECT_EQ(timed, "+0 " + kCommit + "+1500 .");

  // Half a frame at another rate spoils nothing.
  reader_.state().baud = 9600;
  EXPECT_EQ(Send(kGetConfig.substr(0, 8), 19200) + Send(kGetConfig, 9600), clean);
}

}  // namespace
}  // namespace pelgar::sim
