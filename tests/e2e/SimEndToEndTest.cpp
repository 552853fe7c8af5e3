// pelgar-sim as a program, spoken to by an independent client through its port entry.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>

#include <utility>

#include "EndToEndTest.h"
#include "support/FirmwareImages.h"

namespace pelgar::e2e {
namespace {

namespace fs = std::filesystem;

// A deliberately separate, minimal host: its own terminal set-up, frames from the tests'
// own record helper, nothing from device/ or platform/. It is what proves that pelgar-sim speaks
// the protocol, not merely the same dialect as our host code.
class ReaderClient {
 public:
  ~ReaderClient() { Close(); }

  bool Open(const std::string& device, int baud) {
    Close();
    fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (fd_ < 0 || ::tcgetattr(fd_, &tio) != 0) return false;
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, baud == 9600 ? B9600 : B19200);
    return ::tcsetattr(fd_, TCSANOW, &tio) == 0 && ::tcflush(fd_, TCIOFLUSH) == 0;
  }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  // Writes `frame`, then returns the bytes that arrive within `wait_ms` real milliseconds,
  // then until the line is silent for as long as a host waits (500 ms at the time scale).
  std::string Exchange(const std::string& frame, int wait_ms = 2000) {
    if (::write(fd_, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) {
      return "<write failed>";
    }
    std::string reply;
    pollfd entry{fd_, POLLIN, 0};
    char buffer[256];
    for (; ::poll(&entry, 1, wait_ms) > 0 && (entry.revents & POLLIN); wait_ms = 500 / kTimeScale) {
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n <= 0) break;
      reply.append(buffer, static_cast<size_t>(n));
    }
    return reply;
  }

 private:
  int fd_ = -1;
};

using pelgar::testing::Hex;
using pelgar::testing::Record;

using Step = std::pair<std::string, std::string>;  // a frame and the whole reply to it

Step Accepted(const std::string& frame) { return {frame, frame + "."}; }
// The echo, ".", and a record with `data` after its type.
Step Query(const std::string& frame, const std::string& data) {
  return {frame,
          frame + "." + Record(Hex(static_cast<unsigned>(data.size() / 2), 2) + "000011" + data)};
}
// Sentinels "%;+?" and revision "REV 2.30".
Step Configuration(const std::string& option_byte) {
  return Query(":020000110200EB", "02" + option_byte + "253B2B3F52455620322E3330");
}

const std::string kEnter = ":0100001110DE";
const std::string kSlideSwitch = ":0100001118D6";
const std::string kCommit = ":0100001109E5";

class SimEndToEndTest : public EndToEndTest {
 protected:
  std::string Com3() const { return dir_ + "/ports/COM3"; }
  // Claims the reader, runs `steps` and returns the reader to functional mode.
  void Session(std::vector<Step> steps, int baud = 19200) {
    ASSERT_TRUE(client_.Open(Com3(), baud));
    steps.insert(steps.begin(), Accepted(kEnter));
    steps.push_back(Accepted(":0100001111DD"));
    for (const auto& [frame, reply] : steps) EXPECT_EQ(client_.Exchange(frame), reply) << frame;
    client_.Close();
  }

  ReaderClient client_;
};

TEST_F(SimEndToEndTest, CommittedChangesAndEnhancedSettingsAreReadBackInTheNextRun) {
  ASSERT_TRUE(StartSim()) << sim_->Errors();
  EXPECT_NE(sim_->Output().find("pelgar-sim: COM3 -> /dev/pts/"), std::string::npos);
  Session({Configuration("00"), Query(kSlideSwitch, "001800"),
           Accepted(":060000110151253b2b3fcd"),  // small letters, as a host writes
           Accepted(kCommit)});
  Session({Configuration("51")});
  EXPECT_EQ(sim_->Stop(), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(Com3())));

  ASSERT_TRUE(StartSim({"--switch", "wedge"})) << sim_->Errors();
  Session({Configuration("51"), Query(kSlideSwitch, "001801"),
           Accepted(Record("0600001112414200075A")),  // "AB", BEL "Z"
           Query(":020000111900D4", "1900414200"), Query(":020000111901D3", "1901075A00"),
           Accepted(Record("02000011131E")), Query(":0100001114DA", "00141E"),
           Accepted(":020000111500D8"), Query(":0100001116D8", "001600"),
           Accepted(":0200001115FFD9"), Query(":0100001116D8", "0016FF"),
           Accepted(Record("06000011172141007879")),  // two custom table entries
           Accepted(":040000111721002192")});         // then one of them reset
  EXPECT_EQ(sim_->Stop(), 0);
  const std::string flash = ReadFile(dir_ + "/reader.state");
  EXPECT_NE(flash.find("custom_entry 41 79"), std::string::npos) << flash;
  EXPECT_EQ(flash.find("custom_entry 21"), std::string::npos) << flash;
}

// The trace shows every byte received: what the reader could not frame, noise and a frame at
// the wrong rate, is marked.
TEST_F(SimEndToEndTest, FaultsAndTraceFromTheCommandLine) {
  ASSERT_TRUE(StartSim({"--trace", "--fault", "baud=9600", "--fault", "late-commit=1000"}))
      << sim_->Errors();
  ASSERT_TRUE(client_.Open(Com3(), 19200));
  EXPECT_EQ(client_.Exchange(kEnter, 300), "");
  Session({{"\xFF~:Z" + kCommit, kCommit}, {"", "."}}, 9600);
  EXPECT_EQ(sim_->Stop(), 0);
  const std::string trace = sim_->Output();
  for (const char* line : {"] <- unparsed :0100001110DE (at 19200 baud; the reader runs at 9600)\n",
                           "] <- :0100001110DE\n", "] -> :0100001110DE.\n",
                           "] <- unparsed \\xFF~:Z\n", "] <- :0100001109E5\n"}) {
    EXPECT_NE(trace.find(line), std::string::npos) << line << trace;
  }
}

}  // namespace
}  // namespace pelgar::e2e
