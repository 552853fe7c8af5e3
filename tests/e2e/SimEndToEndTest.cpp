// pelgar-sim as a program, spoken to by an independent client through its port entry.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ReaderClient.h"
#include "SimProcess.h"

namespace pelgar::e2e {
namespace {

namespace fs = std::filesystem;

constexpr double kScale = 10;
constexpr int kSilenceMs = 500 / kScale;

constexpr char kEnter[] = ":0100001110DE";
constexpr char kRestore[] = ":0100001111DD";
constexpr char kGetConfig[] = ":020000110200EB";
constexpr char kSlideSwitch[] = ":0100001118D6";
constexpr char kCommit[] = ":0100001109E5";

class SimEndToEndTest : public ::testing::Test {
 protected:
  static fs::path MakeTemporaryDirectory() {
    char pattern[] = "/tmp/pelgar-e2e-sim-XXXXXX";
    return mkdtemp(pattern) != nullptr ? fs::path(pattern) : fs::path();
  }
  void SetUp() override { ASSERT_FALSE(dir_.empty()); }
  void TearDown() override {
    client_.Close();
    sim_.Stop();
    fs::remove_all(dir_);
  }

  std::string Com3() const { return sim_.PortDir() + "/COM3"; }
  std::string StateFile() const { return (dir_ / "reader.state").string(); }
  void Claim(int baud = 19200) {
    ASSERT_TRUE(client_.Open(Com3(), baud));
    ASSERT_EQ(client_.Exchange(kEnter), std::string(kEnter) + ".");
  }
  void Release() {
    EXPECT_EQ(client_.Exchange(kRestore), std::string(kRestore) + ".");
    client_.Close();
  }
  int OptionByte() {
    std::string reply = client_.Exchange(kGetConfig);
    EXPECT_EQ(reply.substr(15, 1), ".");
    return ReaderClient::ByteAt(reply, 27);
  }
  static std::string Text(const std::string& reply, size_t position, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
      text += static_cast<char>(ReaderClient::ByteAt(reply, position + 2 * i));
    }
    return text;
  }

  fs::path dir_ = MakeTemporaryDirectory();
  SimProcess sim_{dir_.string(), kScale};
  ReaderClient client_{kSilenceMs};
};

TEST_F(SimEndToEndTest, CommittedConfigurationOutlivesSessionsAndRuns) {
  ASSERT_TRUE(sim_.Start({"--port", "COM3", "--state", StateFile()})) << sim_.Errors();
  EXPECT_NE(sim_.Output().find("pelgar-sim: COM3 -> /dev/pts/"), std::string::npos);
  EXPECT_EQ(fs::read_symlink(Com3()).string().rfind("/dev/pts/", 0), 0u);

  Claim();
  std::string config = client_.Exchange(kGetConfig);
  ASSERT_EQ(config.substr(0, 16), std::string(kGetConfig) + ".");
  EXPECT_EQ(Text(config, 29, 4), "%;+?");
  EXPECT_EQ(Text(config, 37, 8), "REV 2.30");
  EXPECT_EQ(client_.Exchange(kSlideSwitch).substr(26, 3), "800");
  // Option byte 0x51, sentinels % ; + ?, written in small letters as a host does.
  const std::string store = ":060000110151253b2b3fcd";
  EXPECT_EQ(client_.Exchange(store), store + ".");
  EXPECT_EQ(client_.Exchange(kCommit), std::string(kCommit) + ".");
  Release();

  Claim();
  EXPECT_EQ(OptionByte(), 0x51);
  Release();
  EXPECT_EQ(sim_.Stop(), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(Com3())));

  // A new run starts from what was committed; temporary memory does not survive it.
  ASSERT_TRUE(sim_.Start({"--port", "COM3", "--state", StateFile()})) << sim_.Errors();
  Claim();
  EXPECT_EQ(OptionByte(), 0x51);
  const std::string temporary = ReaderClient::Frame("0600001100C0253B2B3F");
  EXPECT_EQ(client_.Exchange(temporary), temporary + ".");
  EXPECT_EQ(OptionByte(), 0xC0);
  Release();
  EXPECT_EQ(sim_.Stop(), 0);
  ASSERT_TRUE(sim_.Start({"--port", "COM3", "--state", StateFile()})) << sim_.Errors();
  Claim();
  EXPECT_EQ(OptionByte(), 0x51);
  Release();
}

TEST_F(SimEndToEndTest, EveryEnhancedSettingRoundTrips) {
  ASSERT_TRUE(sim_.Start(
      {"--port", "COM3", "--revision", "REV 2.31", "--switch", "wedge", "--state", StateFile()}))
      << sim_.Errors();
  Claim();
  EXPECT_EQ(Text(client_.Exchange(kGetConfig), 37, 8), "REV 2.31");
  EXPECT_EQ(client_.Exchange(kSlideSwitch).substr(26, 3), "801");

  // Head "AB", tail BEL + "Z".
  const std::string wrapper = ReaderClient::Frame("0600001112414200075A");
  EXPECT_EQ(client_.Exchange(wrapper), wrapper + ".");
  std::string head = client_.Exchange(":020000111900D4");
  EXPECT_NE(head.substr(16, 1), "X");
  EXPECT_EQ(head.substr(29, 6), "414200");
  EXPECT_EQ(client_.Exchange(":020000111901D3").substr(29, 6), "075A00");

  const std::string set_cr = ReaderClient::Frame("02000011131E");
  EXPECT_EQ(client_.Exchange(set_cr), set_cr + ".");
  std::string cr = client_.Exchange(":0100001114DA");
  EXPECT_EQ(cr.substr(13, 1), ".");
  EXPECT_EQ(ReaderClient::ByteAt(cr, 27), 0x1E);

  for (const std::string frame : {":020000111500D8", ":0200001115FFD9", ":020000111501D7"}) {
    EXPECT_EQ(client_.Exchange(frame), frame + ".");
    std::string wedge = client_.Exchange(":0100001116D8");
    EXPECT_EQ(wedge.substr(13, 1), ".");
    EXPECT_EQ(wedge.substr(27, 2), frame.substr(11, 2));
  }

  // Two table entries, then one of them reset: the reader's flash shows the rest.
  const std::string table = ReaderClient::Frame("06000011172141007879");
  EXPECT_EQ(client_.Exchange(table), table + ".");
  EXPECT_EQ(client_.Exchange(":040000111721002192"), ":040000111721002192.");
  Release();

  std::ifstream state(StateFile());
  std::stringstream text;
  text << state.rdbuf();
  EXPECT_NE(text.str().find("custom_entry 41 79"), std::string::npos) << text.str();
  EXPECT_EQ(text.str().find("custom_entry 21"), std::string::npos) << text.str();
  EXPECT_NE(text.str().find("head_wrapper 4142"), std::string::npos);
  EXPECT_NE(text.str().find("cr_byte 1E"), std::string::npos);
}

TEST_F(SimEndToEndTest, FaultsAndTraceFromTheCommandLine) {
  ASSERT_TRUE(sim_.Start(
      {"--port", "COM3", "--trace", "--fault", "baud=9600", "--fault", "late-commit=1000"}))
      << sim_.Errors();
  ASSERT_TRUE(client_.Open(Com3(), 19200));
  EXPECT_EQ(client_.Exchange(kEnter, 300), "");
  client_.Close();
  Claim(9600);
  EXPECT_EQ(client_.Exchange(kCommit), kCommit);
  EXPECT_EQ(client_.ReadFor(2000), ".");
  Release();
  EXPECT_EQ(sim_.Stop(), 0);
  const std::string trace = sim_.Output();
  EXPECT_NE(trace.find("] <- :0100001110DE (at 19200 baud; the reader runs at 9600)"),
            std::string::npos)
      << trace;
  EXPECT_NE(trace.find("] <- :0100001110DE\n"), std::string::npos) << trace;
  EXPECT_NE(trace.find("] -> :0100001110DE.\n"), std::string::npos) << trace;
}

TEST_F(SimEndToEndTest, BadCommandLinesAndStateFilesEndWithStatusTwo) {
  EXPECT_FALSE(sim_.Start({"--port", "COM3", "--fault", "explode"}));
  EXPECT_EQ(sim_.exit_status(), 2);
  EXPECT_NE(sim_.Errors().find("unknown fault \"explode\""), std::string::npos);
  EXPECT_FALSE(sim_.Start({"--switch", "usb"}));
  EXPECT_EQ(sim_.exit_status(), 2);

  std::ofstream(StateFile()) << "option_byte 40\nsentinels 25 3B\n";
  EXPECT_FALSE(sim_.Start({"--port", "COM3", "--state", StateFile()}));
  EXPECT_EQ(sim_.exit_status(), 2);
  EXPECT_NE(sim_.Errors().find("reader.state line 2: expected 4 byte(s)"), std::string::npos)
      << sim_.Errors();
  EXPECT_FALSE(fs::exists(fs::symlink_status(Com3())));
}

}  // namespace
}  // namespace pelgar::e2e
