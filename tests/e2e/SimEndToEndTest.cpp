// pelgar-sim as a program, spoken to by an independent client through its port entry.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "EndToEndTest.h"

namespace pelgar::e2e {
namespace {

namespace fs = std::filesystem;

// A deliberately separate, minimal host: its own terminal set-up, its own frames and
// checksums, nothing from device/ or platform/. It is what proves that pelgar-sim speaks
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
  // Writes `frame`, then returns what comes back (see ReadFor).
  std::string Exchange(const std::string& frame, int first_byte_ms = 2000) {
    if (::write(fd_, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) {
      return "<write failed>";
    }
    return ReadFor(first_byte_ms);
  }
  // Bytes that arrive within `wait_ms` real milliseconds, then until the line is silent
  // for as long as a host waits (500 ms at the time scale).
  std::string ReadFor(int wait_ms) {
    std::string reply;
    pollfd entry{fd_, POLLIN, 0};
    char buffer[256];
    for (int wait = wait_ms; ::poll(&entry, 1, wait) > 0 && (entry.revents & POLLIN) != 0;
         wait = 500 / kTimeScale) {
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n <= 0) break;
      reply.append(buffer, static_cast<size_t>(n));
    }
    return reply;
  }

  // ":" + the hex body + its checksum in capitals.
  static std::string Frame(const std::string& body) {
    unsigned sum = 0;
    for (size_t i = 0; i + 1 < body.size(); i += 2)
      sum += std::stoul(body.substr(i, 2), nullptr, 16);
    char checksum[3];
    std::snprintf(checksum, sizeof checksum, "%02X", (0x100 - sum % 0x100) % 0x100);
    return ":" + body + checksum;
  }

 private:
  int fd_ = -1;
};

const std::string kEnter = ":0100001110DE";
const std::string kRestore = ":0100001111DD";
const std::string kGetConfig = ":020000110200EB";
const std::string kSlideSwitch = ":0100001118D6";
const std::string kCommit = ":0100001109E5";

class SimEndToEndTest : public EndToEndTest {
 protected:
  std::string Com3() const { return PortDir() + "/COM3"; }
  void Claim(int baud = 19200) {
    ASSERT_TRUE(client_.Open(Com3(), baud));
    ASSERT_EQ(client_.Exchange(kEnter), kEnter + ".");
  }
  void Release() {
    EXPECT_EQ(client_.Exchange(kRestore), kRestore + ".");
    client_.Close();
  }
  // The whole reply to a query: echo, ".", and the record with `data` after its type.
  static std::string Answer(const std::string& query, const std::string& data) {
    char length[9];
    std::snprintf(length, sizeof length, "%02X", static_cast<unsigned>(data.size() / 2));
    return query + "." + ReaderClient::Frame(length + std::string("000011") + data);
  }
  // Sentinels "%;+?" and revision "REV 2.30".
  static std::string Configuration(const std::string& option_byte) {
    return Answer(kGetConfig, "02" + option_byte + "253B2B3F52455620322E3330");
  }

  ReaderClient client_;
};

TEST_F(SimEndToEndTest, CommittedChangesAndEnhancedSettingsAreReadBackInTheNextRun) {
  ASSERT_TRUE(StartSim()) << sim_->Errors();
  EXPECT_NE(sim_->Output().find("pelgar-sim: COM3 -> /dev/pts/"), std::string::npos);
  Claim();
  EXPECT_EQ(client_.Exchange(kGetConfig), Configuration("00"));
  EXPECT_EQ(client_.Exchange(kSlideSwitch), Answer(kSlideSwitch, "001800"));
  const std::string store = ":060000110151253b2b3fcd";  // small letters, as a host writes
  EXPECT_EQ(client_.Exchange(store), store + ".");
  EXPECT_EQ(client_.Exchange(kCommit), kCommit + ".");
  Release();
  Claim();
  EXPECT_EQ(client_.Exchange(kGetConfig), Configuration("51"));
  Release();
  EXPECT_EQ(sim_->Stop(), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(Com3())));

  ASSERT_TRUE(StartSim({"--switch", "wedge"})) << sim_->Errors();
  Claim();
  EXPECT_EQ(client_.Exchange(kGetConfig), Configuration("51"));
  EXPECT_EQ(client_.Exchange(kSlideSwitch), Answer(kSlideSwitch, "001801"));
  const struct {
    std::string set;  // sent first when there is one
    std::string query;
    std::string data;
  } cases[] = {
      {ReaderClient::Frame("0600001112414200075A"), ":020000111900D4", "1900414200"},  // "AB"
      {"", ":020000111901D3", "1901075A00"},                                           // BEL "Z"
      {ReaderClient::Frame("02000011131E"), ":0100001114DA", "00141E"},
      {":020000111500D8", ":0100001116D8", "001600"},
      {":0200001115FFD9", ":0100001116D8", "0016FF"},
      {":020000111501D7", ":0100001116D8", "001601"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.set + " " + c.query);
    if (!c.set.empty()) {
      EXPECT_EQ(client_.Exchange(c.set), c.set + ".");
    }
    EXPECT_EQ(client_.Exchange(c.query), Answer(c.query, c.data));
  }
  // Two custom table entries, then one of them reset; only the reader's flash shows them.
  const std::string table = ReaderClient::Frame("06000011172141007879");
  EXPECT_EQ(client_.Exchange(table), table + ".");
  EXPECT_EQ(client_.Exchange(":040000111721002192"), ":040000111721002192.");
  Release();
  EXPECT_EQ(sim_->Stop(), 0);
  const std::string flash = ReadFile(StatePath());
  EXPECT_NE(flash.find("custom_entry 41 79"), std::string::npos) << flash;
  EXPECT_EQ(flash.find("custom_entry 21"), std::string::npos) << flash;
}

TEST_F(SimEndToEndTest, FaultsAndTraceFromTheCommandLine) {
  ASSERT_TRUE(StartSim({"--trace", "--fault", "baud=9600", "--fault", "late-commit=1000"}))
      << sim_->Errors();
  ASSERT_TRUE(client_.Open(Com3(), 19200));
  EXPECT_EQ(client_.Exchange(kEnter, 300), "");
  Claim(9600);
  EXPECT_EQ(client_.Exchange(kCommit), kCommit);
  EXPECT_EQ(client_.ReadFor(2000), ".");
  Release();
  EXPECT_EQ(sim_->Stop(), 0);
  const std::string trace = sim_->Output();
  for (const char* line : {"] <- :0100001110DE (at 19200 baud; the reader runs at 9600)\n",
                           "] <- :0100001110DE\n", "] -> :0100001110DE.\n"}) {
    EXPECT_NE(trace.find(line), std::string::npos) << line << trace;
  }
}

TEST_F(SimEndToEndTest, MalformedStateFileOrCommandLineEndsWithStatusTwo) {
  std::ofstream(StatePath()) << "option_byte 40\nsentinels 25 3B\n";
  EXPECT_FALSE(StartSim());
  EXPECT_EQ(sim_->Wait(0), 2);
  EXPECT_NE(sim_->Errors().find("reader.state line 2: expected 4 byte(s)"), std::string::npos)
      << sim_->Errors();
  EXPECT_FALSE(fs::exists(fs::symlink_status(Com3())));
  EXPECT_FALSE(StartSim({"--fault", "explode"}));
  EXPECT_EQ(sim_->Wait(0), 2);
  EXPECT_NE(sim_->Errors().find("unknown fault \"explode\""), std::string::npos);
}

}  // namespace
}  // namespace pelgar::e2e
