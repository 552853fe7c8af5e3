#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app/Application.h"
#include "app/UnattendedRun.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/CorruptingPortFactory.h"

namespace pelgar::app {
namespace {

namespace fs = std::filesystem;

constexpr char kCountdown[] = "\n\nThis window will close in 5 seconds.... 5 4 3 2 1 ";
constexpr char kNotClaimedSummary[] =
    "The MSR has not been claimed by the application.\n   Please be sure the COM port is not "
    "claimed by other applications";
constexpr char kErrorSummary[] =
    "There was an error found during MSR Configuration update.\n   Please make sure "
    "configuration file is exist and in correct format..";
constexpr char kBasic[] = "Zyr MSR Configuration File\r\n5c%;+?\r\n";
constexpr char kEnhanced[] =
    "Zyr MSR Enhanced Configuration File\r\n12H:AB\r\n12T:\r\n13:0F\r\n15:00\r\n";

// A command frame: the record's hexadecimal digits with their checksum after a colon.
std::string Frame(const std::string& digits) {
  unsigned sum = 0;
  for (size_t i = 0; i + 1 < digits.size(); i += 2)
    sum += std::stoul(digits.substr(i, 2), nullptr, 16);
  char checksum[3];
  std::snprintf(checksum, sizeof checksum, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
  return ":" + digits + checksum;
}

// Ports whose reader answers chosen frames with a canned reply instead.
class CannedReplyPortFactory : public platform::PortFactory {
 public:
  explicit CannedReplyPortFactory(platform::PortFactory& inner) : inner_(inner) {}
  std::unique_ptr<platform::SerialPort> Create() override {
    return std::make_unique<Port>(inner_.Create(), replies);
  }
  std::map<std::string, std::string> replies;

 private:
  class Port : public platform::SerialPort {
   public:
    Port(std::unique_ptr<platform::SerialPort> inner,
         const std::map<std::string, std::string>& replies)
        : inner_(std::move(inner)), replies_(replies) {}
    platform::OpenResult Open(const std::string& name, int32_t baud) override {
      return inner_->Open(name, baud);
    }
    void SetBaudRate(int32_t baud) override { inner_->SetBaudRate(baud); }
    size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
      if (pending_.empty()) return inner_->Read(dest, count, total_ms, interval_ms);
      size_t n = std::min(count, pending_.size());
      std::memcpy(dest, pending_.data(), n);
      pending_.erase(0, n);
      return n;
    }
    bool Write(const uint8_t* data, size_t count) override {
      auto canned = replies_.find(std::string(reinterpret_cast<const char*>(data), count));
      if (canned == replies_.end()) return inner_->Write(data, count);
      pending_ = canned->second;
      return true;
    }
    bool HungUp() const override { return inner_->HungUp(); }
    void Close() override { inner_->Close(); }

   private:
    std::unique_ptr<platform::SerialPort> inner_;
    const std::map<std::string, std::string>& replies_;
    std::string pending_;
  };
  platform::PortFactory& inner_;
};

// The whole program, from its command line to its exit status, against the simulated
// reader on COM3 on virtual time.
class UnattendedRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pelgar-unattended-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Put(const std::string& name, const std::string& text) {
    std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  int Run(const std::string& command_line) {
    out.str("");
    Application application(ports, clock, out, err);
    return application.Run(command_line);
  }
  // The command codes the reader received, without those of claiming and letting go.
  std::vector<std::string> Commands() {
    std::vector<std::string> codes;
    for (const std::string& frame : reader.received_frames()) {
      std::string code = frame.substr(9, 2);
      if (code != "10" && code != "02" && code != "18" && code != "11") codes.push_back(code);
    }
    return codes;
  }

  fs::path dir;
  sim::SimulatedReader reader;
  platform::VirtualClock clock;
  sim::InProcessPortFactory sim_ports{reader, clock};
  testing::CorruptingPortFactory corrupting{sim_ports};
  CannedReplyPortFactory ports{corrupting};
  std::ostringstream out;
  std::ostringstream err;
};

using Codes = std::vector<std::string>;

TEST_F(UnattendedRunTest, AppliesBothSectionsToAnEnhancedReader) {
  reader.state().slide_switch = sim::SlideSwitch::kWedge;
  std::string path = Put("full.dat", std::string(kBasic) + kEnhanced);
  EXPECT_EQ(Run(path + ",COM3,19200"), 0);
  EXPECT_EQ(out.str(),
            "Entering command mode...\nEntering command mode...\nEntering command mode...\n"
            "MSR Configuration is updated successfully.\n" +
                std::string(kCountdown) + "\n");
  EXPECT_EQ(Commands(), (Codes{"01", "09", "12", "13", "15"}));
  const sim::ReaderState& state = reader.state();
  EXPECT_EQ(state.option_byte, 0x40);  // custom configuration, all tracks enabled
  EXPECT_EQ(state.sentinels, (std::array<uint8_t, 4>{'%', ';', '+', '?'}));
  EXPECT_EQ(state.head_wrapper, "AB");
  EXPECT_EQ(state.tail_wrapper, "");
  EXPECT_EQ(state.cr_byte, 0x1E);  // the file's 0x0F with capital mode moved to bit 4
  EXPECT_EQ(state.wedge_language, 0x00);
}

TEST_F(UnattendedRunTest, SendsOnlyTheBasicSectionWhereTheEnhancedOneCannotGo) {
  reader.state().revision = "REV 2.29";
  EXPECT_EQ(Run(Put("full.dat", std::string(kBasic) + kEnhanced)), 0);
  EXPECT_EQ(Commands(), (Codes{"01", "09"}));

  reader.state().revision = "REV 2.30";
  reader.ClearLog();
  EXPECT_EQ(Run(Put("basic.dat", kBasic)), 0);
  EXPECT_EQ(Commands(), (Codes{"01", "09"}));
  EXPECT_NE(out.str().find("MSR Configuration is updated successfully.\n"), std::string::npos);
}

TEST_F(UnattendedRunTest, CustomConfigurationOffIsSentAsLoadedWithAWarning) {
  EXPECT_EQ(Run(Put("off.dat", "Zyr MSR Configuration File\r\n1d%;+?\r\n")), 0);
  EXPECT_NE(out.str().find("MSR Configuration is updated successfully.\n\"Use Custom "
                           "Configuration\" is disable\n\nThis window"),
            std::string::npos);
  // The defaults, with the carriage return of the serial position.
  EXPECT_EQ(reader.state().option_byte, 0x00);
}

TEST_F(UnattendedRunTest, NotAppliedConfigurationsNeitherSucceedNorExitZero) {
  std::string path = Put("basic.dat", kBasic);
  sim_ports.present_ports.clear();
  EXPECT_EQ(Run(path), 1);
  EXPECT_EQ(out.str(), std::string(kNotClaimedSummary) + "." + kCountdown + "\n");
  EXPECT_TRUE(Commands().empty());
  sim_ports.present_ports = {"COM3"};

  EXPECT_EQ(Run((dir / "missing.dat").string()), 1);
  EXPECT_EQ(out.str(),
            "Entering command mode...\n" + std::string(kErrorSummary) + kCountdown + "\n");
  EXPECT_EQ(Run(Put("bad.dat", "Zyr MSR Enhanced Configuration File\r\n5c%;+?\r\n")), 1);
  EXPECT_NE(out.str().find(kErrorSummary), std::string::npos);
  EXPECT_EQ(Run(Put("short.dat", "Zyr MSR Configuration File\r\n")), 1);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(UnattendedRunTest, RefusedSetOrCommitIsAConfigurationError) {
  std::string path = Put("full.dat", std::string(kBasic) + kEnhanced);
  corrupting.corrupted = {":0100001109E5"};  // the commit
  EXPECT_EQ(Run(path), 1);
  EXPECT_NE(out.str().find(kErrorSummary), std::string::npos);
  EXPECT_EQ(out.str().find("updated successfully"), std::string::npos);

  corrupting.corrupted = {Frame("02000011130E")};  // the enhanced Set's carriage returns
  EXPECT_EQ(Run(path), 1);
  EXPECT_NE(out.str().find(kErrorSummary), std::string::npos);
}

// The command line is matched in capitals, but the file system tells case apart: the
// path is tried as typed, then in capitals.
TEST_F(UnattendedRunTest, OpensTheFileAsTypedThenInCapitals) {
  std::string previous = fs::current_path();
  fs::current_path(dir);
  Put("lower.dat", kBasic);
  Put("UPPER.DAT", kBasic);
  Put("both.dat", "Zyr MSR Configuration File\r\n7c%;+?\r\n");
  Put("BOTH.DAT", kBasic);
  int lower = Run("lower.dat");
  int upper = Run("upper.dat,COM3");
  int both = Run("both.dat");
  int neither = Run("none.dat");
  fs::current_path(previous);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 0);
  EXPECT_EQ(both, 0);
  EXPECT_EQ(reader.state().option_byte, 0x60);  // both.dat strips the sentinels
  EXPECT_EQ(neither, 1);
  EXPECT_EQ(UnattendedRun::ConfigurationPathToOpen("x/none.dat"), "X/NONE.DAT");
}

TEST_F(UnattendedRunTest, DebugCommandPrintsTheReplyAndRestoresAfterTheCountdown) {
  EXPECT_EQ(Run("/c:0100001118d6,COM3"), 0);
  // The reply as the reader sent it: the echo, ".", and the slide switch record.
  EXPECT_TRUE(
      out.str().starts_with("Entering command mode...\nDebugging MSR Command...\n\n\nMSR "
                            "Command Response:\n:0100001118D6.:0300001100"));
  EXPECT_TRUE(out.str().ends_with("\n." + std::string(kCountdown) + "\n"));
  EXPECT_EQ(reader.received_frames().back(), ":0100001111DD");
  EXPECT_GE(clock.NowMs(), 5000);
}

TEST_F(UnattendedRunTest, DebugCommandWithoutAnswerOrWithErrorFails) {
  reader.faults().silent_after_frames = 3;  // claims, then hears nothing
  EXPECT_EQ(Run("/C:0100001118D6"), 1);
  EXPECT_NE(out.str().find("Debugging MSR Command...\n\n\nError processing the command.\nMSR "
                           "Command Response:\n\n\nPlease unplug/plug the MSR enable functional "
                           "mode.\n."),
            std::string::npos);

  reader.faults().silent_after_frames = -1;
  ports.replies[":0100001117D7"] = ":0100001117D7Error";
  EXPECT_EQ(Run("/C:0100001117D7"), 1);
  EXPECT_NE(out.str().find("MSR Command Response:\n:0100001117D7Error\n\nPlease unplug/plug"),
            std::string::npos);

  sim_ports.present_ports.clear();
  EXPECT_EQ(Run("/C:0100001118D6"), 1);
  EXPECT_EQ(out.str(), std::string(kNotClaimedSummary) + "." + kCountdown + "\n");
}

TEST_F(UnattendedRunTest, UsageAndTheMissingWindow) {
  EXPECT_EQ(Run("--help"), 1);
  EXPECT_TRUE(out.str().starts_with(
      "About Unattended Mode\n\nMSR Configuration Utility v1.32\nCopyright (C) Pelgar "
      "developers\n\nUsage: PELGAR.EXE <CONFIG.DAT>,[<COM PORT>],[<BAUD RATE>]\n"));
  EXPECT_NE(out.str().find("\tload configuration setting to MSR\n"), std::string::npos);
  EXPECT_NE(out.str().find("PELGAR_PORT_DIR"), std::string::npos);
  EXPECT_EQ(Run("FIRMWARE.HEX,COM3"), 1);
  EXPECT_EQ(Run(""), kExitNoWindow);
  EXPECT_NE(err.str().find("not available in this build"), std::string::npos);
  EXPECT_TRUE(reader.received_frames().empty());
}

}  // namespace
}  // namespace pelgar::app
