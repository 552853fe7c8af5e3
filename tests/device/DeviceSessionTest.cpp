#include <gmock/gmock.h>

#include "device/DeviceSession.h"
#include "tests/device/SessionFixture.h"

namespace pelgar::device {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST_F(SessionTest, StartSequenceEntersCommandModeAndReadsTheReader) {
  reader_.state().option_byte = reader_.state().active_option_byte = 0xC5;
  reader_.state().active_sentinels = {'!', ';', '+', 0};
  reader_.state().revision = "REV 2.31";
  reader_.state().slide_switch = sim::SlideSwitch::kWedge;

  auto session = Open();
  EXPECT_EQ(session->claimed, 1);
  EXPECT_THAT(frames(), ElementsAre(":0100001110DE", ":020000110200EB", ":0100001118D6"));
  EXPECT_EQ(out_.str(), "Entering command mode...\n");
  EXPECT_EQ(err(), "");
  EXPECT_EQ(now(), 3 * kExchangeMs);
  EXPECT_TRUE(reader_.state().command_mode);

  EXPECT_EQ(session->carriage_return, 1);
  EXPECT_EQ(session->raw_data_mode, 0);
  EXPECT_EQ(session->track1_enabled, 0);
  EXPECT_EQ(session->track2_enabled, 1);
  EXPECT_EQ(session->track3_enabled, 1);
  EXPECT_EQ(session->strip_sentinels, 0);
  EXPECT_EQ(session->custom_configuration, 1);
  EXPECT_EQ(session->hide_error_tracks, 1);
  EXPECT_EQ(session->sentinels, (std::array<uint8_t, 4>{'!', ';', '+', 0}));
  EXPECT_STREQ(session->revision.data(), "REV 2.31");
  EXPECT_EQ(session->wedge_position, 1);
  EXPECT_EQ(session->serial_position, 0);

  session.reset();
  EXPECT_EQ(frames().back(), ":0100001111DD");
  EXPECT_FALSE(reader_.state().command_mode);
  EXPECT_FALSE(ports_.is_open());
  EXPECT_EQ(err(), "");
}

TEST_F(SessionTest, SlideSwitchInNeitherPositionSetsNeither) {
  reader_.state().slide_switch = sim::SlideSwitch::kSerial;
  auto serial = Open();
  EXPECT_EQ(serial->serial_position, 1);
  EXPECT_EQ(serial->wedge_position, 0);
  serial.reset();

  reader_.state().slide_switch = sim::SlideSwitch::kNone;
  auto none = Open();
  EXPECT_EQ(none->claimed, 1);
  EXPECT_EQ(none->serial_position, 0);
  EXPECT_EQ(none->wedge_position, 0);
}

TEST_F(SessionTest, MissingPortIsReportedWithItsReason) {
  auto session = Open("4");
  EXPECT_EQ(session->claimed, 0);
  EXPECT_THAT(err(), testing::StartsWith("Error opening com port : 4\nCOM4"));
  EXPECT_EQ(out_.str(), "");
  err_.str("");
  // Every command refuses at once and silently; the end sequence still reports.
  EXPECT_FALSE(session->SetConfiguration(1));
  EXPECT_FALSE(session->CommitConfiguration());
  EXPECT_FALSE(session->GetWedgeMode());
  EXPECT_EQ(err(), "");
  session.reset();
  EXPECT_EQ(err(), "Error restoring functional mode.\n");
  EXPECT_EQ(now(), 0);
}

TEST_F(SessionTest, SilentReaderIsNotClaimedAndThePortIsClosed) {
  reader_.faults().silent = true;
  auto session = Open();
  EXPECT_EQ(session->claimed, 0);
  EXPECT_EQ(out_.str(), "Entering command mode...\n");
  EXPECT_EQ(err(), "Failed to enter command mode.\n");
  EXPECT_FALSE(ports_.is_open());
  EXPECT_EQ(now(), kExchangeMs);
}

TEST_F(SessionTest, RejectedConfigurationQueryLeavesTheSessionUnclaimed) {
  reader_.faults().reject = true;
  auto session = Open();
  EXPECT_EQ(session->claimed, 0);
  EXPECT_EQ(err(), "Error validating MSR_GET_CONFIGURATION response.\n");
  EXPECT_EQ(session->ReadConfiguration(), false);
  EXPECT_EQ(err(),
            "Error validating MSR_GET_CONFIGURATION response.\nMSR not claimed! Exiting...\n");
}

TEST_F(SessionTest, UnansweredConfigurationQueryIsReported) {
  reader_.faults().silent_after_frames = 1;
  EXPECT_EQ(Open()->claimed, 0);
  EXPECT_EQ(err(), "Error querying MSR configuration.\nError restoring functional mode.\n");
}

TEST_F(SessionTest, UnansweredSlideSwitchQueryIsReported) {
  reader_.faults().silent_after_frames = 2;
  EXPECT_EQ(Open()->claimed, 0);
  EXPECT_EQ(err(), "Error querying MSR Slide Switch potision.\nError restoring functional mode.\n");
}

TEST_F(SessionTest, ClaimRetriesHalfASecondApartUntilThePortIsFree) {
  // Another program holds the port for the first three attempts.
  class BusyAtFirst : public platform::PortFactory {
   public:
    explicit BusyAtFirst(sim::InProcessPortFactory& ports) : ports_(ports) {}
    std::unique_ptr<platform::SerialPort> Create() override {
      ports_.busy = created_++ < 3;
      return ports_.Create();
    }

   private:
    sim::InProcessPortFactory& ports_;
    int created_ = 0;
  } busy_at_first(ports_);
  DeviceEnvironment env{busy_at_first, clock_, out_, err_};

  auto session = ClaimReader(env, "3", kBaud);
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(session->claimed, 1);
  EXPECT_EQ(now(), 3 * kClaimPauseMs + 3 * kExchangeMs);
  EXPECT_EQ(ports_.open_count(), 1);
  std::string failed = err();
  size_t first_line = failed.find('\n');
  EXPECT_EQ(failed.substr(0, first_line), "Error opening com port : 3");
  EXPECT_THAT(failed, HasSubstr("in use"));
}

TEST_F(SessionTest, ClaimGivesUpAfterTenAttempts) {
  EXPECT_EQ(ClaimReader(env_, "5", kBaud), nullptr);
  EXPECT_EQ(now(), kClaimAttempts * kClaimPauseMs);

  // A silent reader costs each attempt its unanswered exchange as well.
  reader_.faults().silent = true;
  int64_t start = now();
  EXPECT_EQ(ClaimReader(env_, "3", kBaud), nullptr);
  EXPECT_EQ(now() - start, kClaimAttempts * (kExchangeMs + kClaimPauseMs));
  EXPECT_EQ(ports_.open_count(), kClaimAttempts);
  EXPECT_FALSE(ports_.is_open());
}

TEST_F(SessionTest, ReaderAtAnotherRateCannotBeClaimed) {
  EXPECT_EQ(Open("3", 9600)->claimed, 0);
  EXPECT_THAT(err(), HasSubstr("Failed to enter command mode.\n"));
}

TEST_F(SessionTest, SetAndCommitStoreTheConfigurationInFlash) {
  auto session = Claimed();
  session->carriage_return = 0;
  session->track1_enabled = 1;
  session->track2_enabled = 1;
  session->track3_enabled = 1;
  session->custom_configuration = 1;
  session->sentinels = {'%', ';', '+', '?'};
  EXPECT_TRUE(session->SetConfiguration(1));
  EXPECT_TRUE(session->CommitConfiguration());
  EXPECT_THAT(frames(), ElementsAre(":060000110140253b2b3fde", ":0100001109E5"));
  EXPECT_EQ(err(), "");
  EXPECT_EQ(reader_.state().option_byte, 0x40);
  session.reset();

  // The next session, after a power cycle, reads the committed record back.
  reader_.state().PowerUp();
  auto next = Open();
  EXPECT_EQ(next->custom_configuration, 1);
  EXPECT_EQ(next->track1_enabled, 1);
  EXPECT_EQ(next->carriage_return, 0);
}

TEST_F(SessionTest, TemporarySetUsesCodeZeroAndOnlyExactOnesCountAsOn) {
  auto session = Claimed();
  session->carriage_return = 2;  // not exactly 1: off
  session->track1_enabled = 2;   // not exactly 1: disabled
  session->track2_enabled = 1;
  session->track3_enabled = 1;
  session->sentinels = {0, 0, 0, 0};
  EXPECT_TRUE(session->SetConfiguration(0));
  EXPECT_THAT(frames(), ElementsAre(":06000011000400000000e5"));
  EXPECT_EQ(reader_.state().active_option_byte, 0x04);
  EXPECT_EQ(reader_.state().option_byte, 0x00);
}

TEST_F(SessionTest, CommitWaitsForALateAcknowledgement) {
  auto session = Claimed();
  reader_.faults().late_commit_ms = 5000;
  int64_t start = now();
  EXPECT_TRUE(session->CommitConfiguration());
  // The "." came 5 s after the frame, then the line went quiet for 500 ms.
  EXPECT_GE(now() - start, 5000 + kExchangeMs);
  EXPECT_LT(now() - start, 5000 + 2 * kExchangeMs);
  EXPECT_EQ(ports_.pending_bytes(), 0u);
  EXPECT_EQ(err(), "");
}

TEST_F(SessionTest, CommitWithoutAcknowledgementGivesUpAfterItsAttempts) {
  auto session = Claimed();
  reader_.faults().reject = true;
  int64_t start = now();
  EXPECT_FALSE(session->CommitConfiguration());
  EXPECT_EQ(now() - start, kExchangeMs + kCommitAcknowledgeAttempts * (kExchangeMs + 1));
  EXPECT_EQ(err(), "");
}

TEST_F(SessionTest, RejectedOrUnansweredSetAndCommitAreReported) {
  auto session = Claimed();
  reader_.faults().reject = true;
  EXPECT_FALSE(session->SetConfiguration(1));
  EXPECT_EQ(err(), "MSR_SET_CONFIGURATION did not apply properly.\n");

  err_.str("");
  reader_.faults().silent = true;
  EXPECT_FALSE(session->SetConfiguration(1));
  EXPECT_FALSE(session->CommitConfiguration());
  EXPECT_EQ(err(),
            "Failed to send MSR_SET_CONFIGURATION.\nFailed to send MSR_COMMIT_CONFIGURATION.\n");
  err_.str("");
  session.reset();
  EXPECT_EQ(err(), "Error restoring functional mode.\n");
  EXPECT_FALSE(ports_.is_open());
}

TEST_F(SessionTest, VanishedPortEndsEveryExchangeAtOnce) {
  auto session = Claimed();
  reader_.faults().late_commit_ms = 5000;
  ports_.HangUp();
  int64_t start = now();
  EXPECT_FALSE(session->CommitConfiguration());
  EXPECT_FALSE(session->GetDataWrapper());
  session.reset();
  EXPECT_EQ(now(), start);
  EXPECT_EQ(err(),
            "Failed to send MSR_COMMIT_CONFIGURATION.\n"
            "Failed to send MSR_SET_CONFIGURATION_WRAPPER_HEAD.\n"
            "Error restoring functional mode.\n");
  EXPECT_FALSE(ports_.is_open());
}

TEST_F(SessionTest, RawFrameGoesOutUnchangedAndAnyReplyCounts) {
  auto session = Claimed();
  std::array<char, kReplySize> reply;
  reply.fill('#');
  EXPECT_TRUE(session->ExchangeRaw(":0100001118D7", reply));  // refused: bad checksum
  EXPECT_THAT(frames(), ElementsAre(":0100001118D7"));
  EXPECT_STREQ(reply.data(), ":0100001118D7?X");
  reader_.faults().silent = true;
  EXPECT_FALSE(session->ExchangeRaw(":0100001118D6", reply));
  EXPECT_STREQ(reply.data(), "");
}

TEST_F(SessionTest, OverlongRepliesAreCutAtTheBuffer) {
  reader_.faults().long_replies = true;
  reader_.state().revision = "REV 3.00";
  auto session = Open();
  EXPECT_EQ(session->claimed, 1);
  EXPECT_STREQ(session->revision.data(), "REV 3.00");
  EXPECT_EQ(ports_.pending_bytes(), 0u);

  // The commit's "." arrives past what the buffer keeps; it must still count, instead of
  // starting the hours-long wait for a late acknowledgement.
  int64_t before = now();
  EXPECT_TRUE(session->CommitConfiguration());
  EXPECT_EQ(now() - before, kExchangeMs);
}

}  // namespace
}  // namespace pelgar::device
