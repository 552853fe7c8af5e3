#include <gmock/gmock.h>

#include "device/DeviceSession.h"
#include "tests/device/SessionFixture.h"

namespace pelgar::device {
namespace {

using ::testing::StartsWith;

struct ClaimFailure {
  sim::Faults faults;
  const char* err;  // how the diagnostics start
  int64_t ms;       // how long finding out takes
  const char* port = "3";
};

class UnclaimedTest : public SessionTest, public ::testing::WithParamInterface<ClaimFailure> {};

TEST_P(UnclaimedTest, SaysWhyThenRefusesEveryCommandUnsent) {
  const ClaimFailure& c = GetParam();
  reader_.faults() = c.faults;
  auto session = Open(c.port);
  EXPECT_EQ(session->claimed, 0);
  EXPECT_THAT(err(), StartsWith(c.err));
  Clear();
  std::array<char, kReplySize> reply;
  EXPECT_FALSE(session->ReadConfiguration() || session->SetConfiguration(1) ||
               session->CommitConfiguration() || session->ExchangeRaw(":0100001118D6", reply));
  EXPECT_EQ(err() + Sent(), "MSR not claimed! Exiting...\n");
  EXPECT_EQ(now(), c.ms);
  err_.str("");
  session.reset();
  // A refusing reader still echoes the restore, which is all the host asks for.
  EXPECT_EQ(err(), c.faults.reject ? "" : "Error restoring functional mode.\n");
  EXPECT_FALSE(ports_.is_open());
}

INSTANTIATE_TEST_SUITE_P(
    Claims, UnclaimedTest,
    ::testing::Values(
        ClaimFailure{{}, "Error opening com port : 4\nCOM4", 0, "4"},
        ClaimFailure{{.silent = true}, "Failed to enter command mode.\n", 500},
        ClaimFailure{{.reject = true}, "Error validating MSR_GET_CONFIGURATION response.\n", 1000},
        ClaimFailure{{.silent_after_frames = 1}, "Error querying MSR configuration.\n", 1000},
        ClaimFailure{
            {.silent_after_frames = 2}, "Error querying MSR Slide Switch potision.\n", 1500}));

TEST_F(SessionTest, ClaimRetriesHalfASecondApartThenSetCommitAndRelease) {
  struct BusyAtFirst : platform::PortFactory {  // another program holds the port at first
    explicit BusyAtFirst(sim::InProcessPortFactory& p) : ports(p) {}
    std::unique_ptr<platform::SerialPort> Create() override {
      ports.busy = created++ < 3;
      return ports.Create();
    }
    sim::InProcessPortFactory& ports;
    int created = 0;
  } busy_at_first(ports_);
  DeviceEnvironment env{busy_at_first, clock_, out_, err_};
  auto session = ClaimReader(env, "3", 19200);
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(Sent(), ":0100001110DE :020000110200EB :0100001118D6");
  EXPECT_EQ(now(), 3 * kClaimPauseMs + 3 * kExchangeMs);
  EXPECT_EQ(ports_.open_count(), 1);
  EXPECT_THAT(err(), StartsWith("Error opening com port : 3\n"));
  EXPECT_THAT(err(), ::testing::HasSubstr("in use"));
  EXPECT_STREQ(session->revision.data(), "REV 2.30");
  Clear();
  session->custom_configuration = 1;
  session->carriage_return = 2;  // only an exact 1 counts as on
  EXPECT_TRUE(session->SetConfiguration(1) && session->CommitConfiguration());
  EXPECT_EQ(reader_.state().option_byte, 0x40);
  session.reset();
  EXPECT_EQ(Sent(), ":060000110140253b2b3fde :0100001109E5 :0100001111DD");
  EXPECT_FALSE(reader_.state().command_mode || ports_.is_open());
  EXPECT_EQ(err(), "");
}

// The "." of an over-long reply lies past what the reply buffer keeps; it counts at once,
// instead of starting the hours-long wait for a late acknowledgement, as does a vanished port.
TEST_F(SessionTest, SetAndCommitFailuresAndLateAcknowledgements) {
  const struct {
    sim::Faults faults;
    const char* set_err;  // empty: the set succeeds
    const char* commit_err;
    int64_t commit_ms;  // at least, and less than one more exchange
    bool hang_up = false;
  } kCases[] = {
      {{.reject = true},
       "MSR_SET_CONFIGURATION did not apply properly.\n",
       "",
       kExchangeMs + kCommitAcknowledgeAttempts * (kExchangeMs + 1)},
      {{.silent = true},
       "Failed to send MSR_SET_CONFIGURATION.\n",
       "Failed to send MSR_COMMIT_CONFIGURATION.\n",
       kExchangeMs},
      {{.late_commit_ms = 5000}, "", "", 5000 + kExchangeMs},  // "." 5 s late, then quiet
      {{.long_replies = true}, "", "", kExchangeMs},
      {{.late_commit_ms = 5000},
       "Failed to send MSR_SET_CONFIGURATION.\n",
       "Failed to send MSR_COMMIT_CONFIGURATION.\n",
       0,
       true},
  };
  auto session = Claimed();
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.commit_ms);
    reader_.faults() = c.faults;
    if (c.hang_up) ports_.HangUp();
    err_.str("");
    EXPECT_EQ(session->SetConfiguration(1), *c.set_err == '\0');
    EXPECT_EQ(err(), c.set_err);
    err_.str("");
    const int64_t start = now();
    EXPECT_EQ(session->CommitConfiguration(), *c.set_err == '\0');
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
}

}  // namespace
}  // namespace pelgar::device
