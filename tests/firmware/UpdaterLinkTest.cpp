#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <deque>

#include "firmware/RevisionCheck.h"
#include "firmware/UpdaterLink.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"

namespace pelgar::firmware {
namespace {

// A line that answers each write with the next scripted reply, all at once.
class ScriptedLine : public platform::PortFactory {
 public:
  explicit ScriptedLine(platform::VirtualClock& clock) : clock_(clock) {}
  std::unique_ptr<platform::SerialPort> Create() override { return std::make_unique<Port>(*this); }

  std::deque<std::string> replies;
  std::vector<std::string> written;

 private:
  class Port : public platform::SerialPort {
   public:
    explicit Port(ScriptedLine& line) : line_(line) {}
    platform::OpenResult Open(const std::string&, int32_t) override {
      return {platform::OpenStatus::kOk, {}};
    }
    void SetBaudRate(int32_t) override {}
    size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
      size_t n = std::min(count, pending_.size());
      std::memcpy(dest, pending_.data(), n);
      pending_.erase(0, n);
      if (n < count) line_.clock_.SleepMs(n == 0 ? total_ms : interval_ms);
      return n;
    }
    bool Write(const uint8_t* data, size_t count) override {
      line_.written.emplace_back(reinterpret_cast<const char*>(data), count);
      if (!line_.replies.empty()) {
        pending_ += line_.replies.front();
        line_.replies.pop_front();
      }
      return true;
    }
    bool HungUp() const override { return false; }
    void Close() override {}

   private:
    ScriptedLine& line_;
    std::string pending_;
  };

  platform::VirtualClock& clock_;
};

class UpdaterLinkTest : public ::testing::Test {
 protected:
  platform::VirtualClock clock;
  ScriptedLine line{clock};
  UpdaterLink link{line, clock};
};

TEST_F(UpdaterLinkTest, CountedExchangeEndsAsSoonAsTheCountHasArrived) {
  ASSERT_TRUE(link.OpenPort("COM3", "19200"));
  line.replies = {std::string(45, 'a') + "tail"};
  char reply[500];
  ASSERT_TRUE(link.CountedExchange("cmd", reply, 45));
  EXPECT_EQ(std::string(reply), std::string(45, 'a'));
  EXPECT_EQ(clock.NowMs(), 0);
}

TEST_F(UpdaterLinkTest, CountedExchangeKeepsOnlyWhatThisReadBrought) {
  ASSERT_TRUE(link.OpenPort("COM3", "19200"));
  char reply[500];
  line.replies = {std::string(60, 'x')};
  ASSERT_TRUE(link.CountedExchange("first", reply, 60));
  line.replies = {std::string(30, 'y')};
  ASSERT_TRUE(link.CountedExchange("second", reply, 45));
  EXPECT_EQ(std::string(reply), std::string(30, 'y'));
  for (size_t i = 30; i <= 45; ++i) EXPECT_EQ(reply[i], '\0') << i;
  EXPECT_EQ(clock.NowMs(), 500);  // the silence after the 30th character ends the read
}

TEST_F(UpdaterLinkTest, SilentCountedExchangeWaitsHalfASecondPerCharacter) {
  ASSERT_TRUE(link.OpenPort("COM3", "19200"));
  char reply[500];
  EXPECT_FALSE(link.CountedExchange("cmd", reply, 45));
  EXPECT_EQ(clock.NowMs(), 45 * 500);
  EXPECT_EQ(reply[0], '\0');
}

TEST_F(UpdaterLinkTest, SyncSendsTwoRunsOfUAfterPauses) {
  ASSERT_TRUE(link.OpenPort("COM3", "19200"));
  line.replies = {"UUUUUUUU"};
  EXPECT_TRUE(link.SetBaudAndSync(9600));  // true even though the second run is unanswered
  EXPECT_EQ(line.written, (std::vector<std::string>{"UUUUUUUU", "UUUUUUUU"}));
  EXPECT_EQ(clock.NowMs(), 100 + 500 + 100 + 500);
}

TEST(UpdaterLink, OpenPortGivesUpAfterTenAttemptsHalfASecondApart) {
  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory ports(reader, clock);
  ports.busy = true;
  UpdaterLink link(ports, clock);
  EXPECT_FALSE(link.OpenPort("COM3", "19200"));
  EXPECT_FALSE(link.port_open());
  EXPECT_EQ(clock.NowMs(), 10 * 500);

  ports.busy = false;
  ASSERT_TRUE(link.OpenPort("COM3", "19200"));
  EXPECT_EQ(ports.baud(), 19200);
  link.ClosePort();
  link.ClosePort();  // closing twice does no harm
  EXPECT_FALSE(ports.is_open());
}

std::string ConfigurationReply(std::string_view revision_digits) {
  // Echo of the 15-character query, ".", then a reply record whose revision digits start
  // at position 37.
  return ":020000110200EB." + std::string(21, '0') + std::string(revision_digits);
}

TEST_F(UpdaterLinkTest, DeviceRevisionNeedsItsFirstEightDigits) {
  ASSERT_TRUE(link.OpenPort("COM3", "19200"));
  std::string revision;
  line.replies = {":0100001110DE.", ConfigurationReply("52455620"), ":0100001111DD."};
  EXPECT_TRUE(ReadDeviceRevision(link, revision));
  EXPECT_EQ(revision, "REV ");

  line.replies = {":0100001110DE.", ConfigurationReply("5245562"), ":0100001111DD."};
  EXPECT_FALSE(ReadDeviceRevision(link, revision));
  EXPECT_EQ(revision, std::string("REV\x02", 4));
}

TEST_F(UpdaterLinkTest, DeviceRevisionStopsAtTheFirstUnacknowledgedCommand) {
  ASSERT_TRUE(link.OpenPort("COM3", "19200"));
  std::string revision;
  line.replies = {":0100001110DE.", ":020000110200EB?X"};
  EXPECT_FALSE(ReadDeviceRevision(link, revision));
  EXPECT_EQ(line.written.size(), 2u);  // functional mode is not restored after a failure
  link.ClosePort();
  EXPECT_FALSE(ReadDeviceRevision(link, revision));
  EXPECT_EQ(line.written.size(), 2u);
}

TEST(RevisionCheck, FileRevisionComesFromTheImage) {
  FirmwareImage image;
  image.fill(kNoCode);
  std::string revision;
  EXPECT_FALSE(VerifyFileRevision(image, revision));
  EXPECT_EQ(revision, std::string(8, '\xFF'));

  const char stored[] = "REV 2.30";
  std::copy(stored, stored + 8, image.begin() + 0x1FE0);
  EXPECT_TRUE(VerifyFileRevision(image, revision));
  EXPECT_EQ(revision, "REV 2.30");
  EXPECT_EQ(FirmwareFamily(revision), 2);

  image[0x1FE3] = 0;  // a zero byte adds nothing: the text closes up
  EXPECT_FALSE(VerifyFileRevision(image, revision));
  EXPECT_EQ(revision, "REV2.30");
}

TEST(RevisionCheck, ComparisonAgainstREV230) {
  EXPECT_EQ(CompareRevisions("REV 2.31", "REV 2.30"), RevisionComparison::kUpgrade);
  EXPECT_EQ(CompareRevisions("REV 2.30", "REV 2.30"), RevisionComparison::kSameOrOlder);
  EXPECT_EQ(CompareRevisions("REV 2.29", "REV 2.30"), RevisionComparison::kSameOrOlder);
  EXPECT_EQ(CompareRevisions("REV 1.50", "REV 2.30"), RevisionComparison::kUnsupported);
  EXPECT_EQ(CompareRevisions("REV 3.99", "REV 2.30"), RevisionComparison::kUnsupported);
  // Ordinary string order: a prefix is older; bytes compare unsigned.
  EXPECT_EQ(CompareRevisions("REV 2.3", "REV 2.30"), RevisionComparison::kSameOrOlder);
  EXPECT_EQ(CompareRevisions("REV 2.3\xFF", "REV 2.30"), RevisionComparison::kUpgrade);
}

TEST(RevisionCheck, FamilyFromTheFifthCharacter) {
  EXPECT_EQ(FirmwareFamily("REV 1.00"), 1);
  EXPECT_EQ(FirmwareFamily("REV 3.00"), 3);
  EXPECT_EQ(FirmwareFamily("REV 0.00"), 0);
  EXPECT_EQ(FirmwareFamily("REV A.00"), 0);
  EXPECT_EQ(FirmwareFamily("REV "), 0);
}

}  // namespace
}  // namespace pelgar::firmware
