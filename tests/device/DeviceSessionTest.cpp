#include <gmock/gmock.h>

#include "device/DeviceSession.h"
#include "tests/device/SessionFixture.h"

namespace pelgar::device {
namespace {

struct StartFailure {
  sim::Faults faults;
  const char* port;
  int32_t baud;
  const char* why;               // the session's account of it
  int64_t ms;                    // how long finding out takes
  const char* restore_err = "";  // what letting the session go writes
};
// clang-format off
const StartFailure kStartFailures[] = {
    {{}, "4", 19200, "COM4: no such device", 0},
    {{}, "3", 12345, "COM3: unsupported baud rate 12345 (9600, 19200 or 38400)", 0},
    {{.silent = true}, "3", 19200, "COM3: Failed to enter command mode.", 500},
    {{.reject = true}, "3", 19200, "COM3: Error validating MSR_GET_CONFIGURATION response.", 1000},
    {{.silent_after_frames = 1}, "3", 19200, "COM3: Error querying MSR configuration.", 1000,
     "Error restoring functional mode.\n"},
    {{.silent_after_frames = 2}, "3", 19200, "COM3: Error querying MSR Slide Switch potision.",
     1500, "Error restoring functional mode.\n"},
};
// clang-format on

class UnclaimedTest : public SessionTest, public ::testing::WithParamInterface<StartFailure> {};

// The session writes nothing while it starts: the claim tells the last attempt's cause once.
TEST_P(UnclaimedTest, SaysWhyThenRefusesEveryCommandUnsent) {
  const StartFailure& c = GetParam();
  reader_.faults() = c.faults;
  auto session = std::make_unique<DeviceSession>(env_, c.port, c.baud);
  EXPECT_EQ(session->claimed, 0);
  EXPECT_EQ(session->start_failure(), c.why);
  EXPECT_EQ(session->port_missing(), std::string_view(c.port) != "3");
  EXPECT_EQ(err(), "");
  Clear();
  std::array<char, kReplySize> reply;
  EXPECT_FALSE(session->ReadConfiguration() || session->SetConfiguration(1) ||
               session->CommitConfiguration() || session->ExchangeRaw(":0100001118D6", reply));
  EXPECT_EQ(err() + Sent(), "MSR not claimed! Exiting...\n");
  EXPECT_EQ(now(), c.ms);
  err_.str("");
  session.reset();
  // Only a reader left in command mode needs restoring; a refusing one still echoes it.
  EXPECT_EQ(err(), c.restore_err);
  EXPECT_FALSE(ports_.is_open());
}

INSTANTIATE_TEST_SUITE_P(Claims, UnclaimedTest, ::testing::ValuesIn(kStartFailures));

// One line for all the attempts, with the last one's cause; a rate no reader talks at is
// not worth a second attempt, and no port is opened for it.
TEST_F(SessionTest, FailedClaimIsOneLineWithTheCauseAndTheTries) {
  const struct {
    const char* port;
    int32_t baud;
    sim::Faults faults;
    const char* text;
    int64_t ms;
  } kCases[] = {
      // clang-format off
      {"9", 19200, {}, "COM9: no such device; tried 10 times", 10 * kClaimPauseMs},
      {"3", 12345, {}, "COM3: unsupported baud rate 12345 (9600, 19200 or 38400)", 0},
      {"3", 19200, {.silent = true}, "COM3: Failed to enter command mode; tried 10 times",
       10 * (kExchangeMs + kClaimPauseMs)},
      // clang-format on
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    reader_.faults() = c.faults;
    err_.str("");
    const int64_t start = now();
    ClaimFailure failure;
    EXPECT_EQ(ClaimReader(env_, c.port, c.baud, &failure), nullptr);
    EXPECT_EQ(failure.Text(), c.text);
    EXPECT_EQ(err(), "MSR not claimed: " + std::string(c.text) + "\n");
    EXPECT_EQ(now() - start, c.ms);
  }
  EXPECT_EQ(ports_.open_count(), 10);  // the silent reader's
}

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
  EXPECT_EQ(err(), "");  // the failed attempts are the claim's to report, had it failed
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
      // clang-format off
      {{.reject = true}, "MSR_SET_CONFIGURATION did not apply properly.\n", "",
       kExchangeMs + kCommitAcknowledgeAttempts * (kExchangeMs + 1)},
      {{.silent = true}, "Failed to send MSR_SET_CONFIGURATION.\n",
       "Failed to send MSR_COMMIT_CONFIGURATION.\n", kExchangeMs},
      {{.late_commit_ms = 5000}, "", "", 5000 + kExchangeMs},  // "." 5 s late, then quiet
      {{.long_replies = true}, "", "", kExchangeMs},
      {{.late_commit_ms = 5000}, "Failed to send MSR_SET_CONFIGURATION.\n",
       "Failed to send MSR_COMMIT_CONFIGURATION.\n", 0, true},  // the port vanished
      // clang-format on
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
