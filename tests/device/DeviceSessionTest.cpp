#include <gmock/gmock.h>

#include "device/DeviceSession.h"
#include "tests/device/SessionFixture.h"

namespace pelgar::device {
namespace {

using ::testing::StartsWith;

TEST_F(SessionTest, StartAndEndSequences) {
  auto session = Open();
  EXPECT_EQ(session->claimed, 1);
  EXPECT_EQ(Sent(), ":0100001110DE :020000110200EB :0100001118D6");
  EXPECT_EQ(out_.str(), "Entering command mode...\n");
  EXPECT_EQ(now(), 3 * kExchangeMs);
  EXPECT_TRUE(reader_.state().command_mode);
  EXPECT_STREQ(session->revision.data(), "REV 2.30");
  session.reset();
  EXPECT_EQ(frames().back(), ":0100001111DD");
  EXPECT_FALSE(reader_.state().command_mode);
  EXPECT_FALSE(ports_.is_open());
  EXPECT_EQ(err(), "");
}

struct ClaimFailure {
  sim::Faults faults;
  const char* err;        // how the diagnostics start
  int64_t ms;             // how long finding out takes
  bool restores = false;  // whether the reader is still returned to functional mode
  const char* port = "3";
  int32_t baud = 19200;
};

const ClaimFailure kClaimFailures[] = {
    {{}, "Error opening com port : 4\nCOM4", 0, false, "4"},
    {{.silent = true}, "Failed to enter command mode.\n", 500},
    {{}, "Failed to enter command mode.\n", 500, false, "3", 9600},  // the reader's rate differs
    {{.reject = true}, "Error validating MSR_GET_CONFIGURATION response.\n", 1000, true},
    {{.silent_after_frames = 1}, "Error querying MSR configuration.\n", 1000},
    {{.silent_after_frames = 2}, "Error querying MSR Slide Switch potision.\n", 1500},
};

class UnclaimedTest : public SessionTest, public ::testing::WithParamInterface<ClaimFailure> {};

// An unclaimed session says why, then refuses every command at once and sends nothing.
TEST_P(UnclaimedTest, SaysWhyAndSendsNothing) {
  const ClaimFailure& c = GetParam();
  reader_.faults() = c.faults;
  auto session = Open(c.port, c.baud);
  EXPECT_EQ(session->claimed, 0);
  EXPECT_THAT(err(), StartsWith(c.err));
  Clear();
  std::array<char, kReplySize> reply;
  EXPECT_FALSE(session->ReadConfiguration() || session->SetConfiguration(1) ||
               session->CommitConfiguration() || session->ExchangeRaw(":0100001118D6", reply));
  EXPECT_EQ(err(), "MSR not claimed! Exiting...\n");
  EXPECT_EQ(Sent(), "");
  EXPECT_EQ(now(), c.ms);
  Clear();
  session.reset();
  EXPECT_EQ(err(), c.restores ? "" : "Error restoring functional mode.\n");
  EXPECT_FALSE(ports_.is_open());
}

INSTANTIATE_TEST_SUITE_P(Claims, UnclaimedTest, ::testing::ValuesIn(kClaimFailures));

TEST_F(SessionTest, ClaimRetriesHalfASecondApart) {
  // Another program holds the port for the first three attempts.
  struct BusyAtFirst : platform::PortFactory {
    explicit BusyAtFirst(sim::InProcessPortFactory& p) : ports(p) {}
    std::unique_ptr<platform::SerialPort> Create() override {
      ports.busy = created++ < 3;
      return ports.Create();
    }
    sim::InProcessPortFactory& ports;
    int created = 0;
  } busy_at_first(ports_);
  DeviceEnvironment env{busy_at_first, clock_, out_, err_};
  auto session = ClaimReader(env, "3", kBaud);
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(now(), 3 * kClaimPauseMs + 3 * kExchangeMs);
  EXPECT_EQ(ports_.open_count(), 1);
  EXPECT_THAT(err(), StartsWith("Error opening com port : 3\n"));
  EXPECT_THAT(err(), ::testing::HasSubstr("in use"));
  session.reset();

  // A silent reader costs each of the ten attempts its unanswered exchange as well.
  reader_.faults().silent = true;
  const int64_t start = now();
  EXPECT_EQ(ClaimReader(env_, "3", kBaud), nullptr);
  EXPECT_EQ(now() - start, kClaimAttempts * (kExchangeMs + kClaimPauseMs));
}

TEST_F(SessionTest, SetAndCommitStoreTheConfigurationInFlash) {
  auto session = Claimed();
  session->custom_configuration = 1;
  session->carriage_return = 2;  // only an exact 1 counts as on
  EXPECT_TRUE(session->SetConfiguration(1) && session->CommitConfiguration());
  EXPECT_EQ(Sent(), ":060000110140253b2b3fde :0100001109E5");
  EXPECT_EQ(reader_.state().option_byte, 0x40);
  EXPECT_EQ(err(), "");
}

TEST_F(SessionTest, SetAndCommitOutcomes) {
  const struct {
    const char* name;
    sim::Faults faults;
    const char* set_err;  // empty: the set succeeds
    bool committed;
    const char* commit_err;
    int64_t commit_ms;  // at least, and less than one more exchange
  } kCases[] = {
      {"refused",
       {.reject = true},
       "MSR_SET_CONFIGURATION did not apply properly.\n",
       false,
       "",
       kExchangeMs + kCommitAcknowledgeAttempts * (kExchangeMs + 1)},
      {"silent",
       {.silent = true},
       "Failed to send MSR_SET_CONFIGURATION.\n",
       false,
       "Failed to send MSR_COMMIT_CONFIGURATION.\n",
       kExchangeMs},
      // The "." comes 5 s after the frame, then the line goes quiet.
      {"late acknowledgement", {.late_commit_ms = 5000}, "", true, "", 5000 + kExchangeMs},
      // The "." arrives past what the reply buffer keeps; it counts at once, instead of
      // starting the hours-long wait for a late acknowledgement.
      {"overlong replies", {.long_replies = true}, "", true, "", kExchangeMs},
  };
  auto session = Claimed();
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    reader_.faults() = c.faults;
    err_.str("");
    EXPECT_EQ(session->SetConfiguration(1), *c.set_err == '\0');
    EXPECT_EQ(err(), c.set_err);
    err_.str("");
    const int64_t start = now();
    EXPECT_EQ(session->CommitConfiguration(), c.committed);
    EXPECT_EQ(err(), c.commit_err);
    EXPECT_GE(now() - start, c.commit_ms);
    EXPECT_LT(now() - start, c.commit_ms + kExchangeMs);
    EXPECT_EQ(ports_.pending_bytes(), 0u);
  }
}

TEST_F(SessionTest, OverlongReplyIsStoredOnlyToTheBuffer) {
  auto session = Claimed();
  reader_.faults().long_replies = true;
  std::array<char, kReplySize + 20> memory;  // the buffer, then a guard that must stay
  memory.fill('G');
  EXPECT_TRUE(session->ExchangeRaw(":0100001118D6", std::span(memory.data(), kReplySize)));
  EXPECT_EQ(strnlen(memory.data(), kReplySize), kReplySize - 1);
  EXPECT_EQ(std::string_view(memory.data() + kReplySize, 20), std::string(20, 'G'));
  EXPECT_EQ(ports_.pending_bytes(), 0u);
}

TEST_F(SessionTest, VanishedPortEndsEveryExchangeAtOnce) {
  auto session = Claimed();
  reader_.faults().late_commit_ms = 5000;
  ports_.HangUp();
  const int64_t start = now();
  EXPECT_FALSE(session->CommitConfiguration());
  EXPECT_FALSE(session->GetDataWrapper());
  session.reset();
  EXPECT_EQ(now(), start);
  EXPECT_EQ(err(),
            "Failed to send MSR_COMMIT_CONFIGURATION.\n"
            "Failed to send MSR_SET_CONFIGURATION_WRAPPER_HEAD.\n"
            "Error restoring functional mode.\n");
}

}  // namespace
}  // namespace pelgar::device
