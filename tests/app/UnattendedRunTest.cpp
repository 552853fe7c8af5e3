#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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

const std::string kCountdown = "\n\nThis window will close in 5 seconds.... 5 4 3 2 1 \n";
const std::string kSuccess = "MSR Configuration is updated successfully.\n";
const std::string kNotClaimed =
    "The MSR has not been claimed by the application.\n   Please be sure the COM port is not "
    "claimed by other applications." +
    kCountdown;
const std::string kError =
    "There was an error found during MSR Configuration update.\n   Please make sure "
    "configuration file is exist and in correct format.." +
    kCountdown;
constexpr char kBasic[] = "Zyr MSR Configuration File\r\n5c%;+?\r\n";
constexpr char kEnhanced[] =
    "Zyr MSR Enhanced Configuration File\r\n12H:AB\r\n12T:\r\n13:0F\r\n15:00\r\n";

// Ports on which one frame gets a canned reply instead of the reader's.
struct CannedReplyPorts : platform::PortFactory {
  explicit CannedReplyPorts(platform::PortFactory& inner_ports) : inner(inner_ports) {}
  std::unique_ptr<platform::SerialPort> Create() override { return std::make_unique<Port>(*this); }
  struct Port : platform::SerialPort {
    explicit Port(CannedReplyPorts& owner) : factory(owner), inner(owner.inner.Create()) {}
    platform::OpenResult Open(const std::string& name, int32_t baud) override {
      return inner->Open(name, baud);
    }
    void SetBaudRate(int32_t baud) override { inner->SetBaudRate(baud); }
    size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
      if (pending.empty()) return inner->Read(dest, count, total_ms, interval_ms);
      const size_t n = pending.copy(reinterpret_cast<char*>(dest), count);
      pending.erase(0, n);
      return n;
    }
    bool Write(const uint8_t* data, size_t count) override {
      if (std::string(reinterpret_cast<const char*>(data), count) != factory.frame) {
        return inner->Write(data, count);
      }
      pending = factory.reply;
      return true;
    }
    bool HungUp() const override { return inner->HungUp(); }
    void Close() override { inner->Close(); }

    CannedReplyPorts& factory;
    std::unique_ptr<platform::SerialPort> inner;
    std::string pending;
  };

  platform::PortFactory& inner;
  std::string frame;
  std::string reply;
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
    std::ofstream(dir / name, std::ios::binary) << text;
    return (dir / name).string();
  }
  int Run(const std::string& command_line) {
    out.str("");
    reader.ClearLog();
    return Application(ports, clock, out, err).Run(command_line);
  }
  // The command codes the reader received, without those of claiming and letting go.
  std::string Commands() {
    std::string codes;
    for (const std::string& frame : reader.received_frames()) {
      const std::string code = frame.substr(9, 2);
      if (code != "10" && code != "02" && code != "18" && code != "11") codes += code + " ";
    }
    return codes.substr(0, codes.size() - 1);
  }

  fs::path dir;
  sim::SimulatedReader reader;
  platform::VirtualClock clock;
  sim::InProcessPortFactory sim_ports{reader, clock};
  testing::CorruptingPortFactory corrupting{sim_ports};
  CannedReplyPorts ports{corrupting};
  std::ostringstream out;
  std::ostringstream err;
};

// (What each section sets in the reader: see the end-to-end and window tests.)
TEST_F(UnattendedRunTest, SendsTheEnhancedSectionOnlyWhereItCanGo) {
  const std::string full = std::string(kBasic) + kEnhanced;
  const struct {
    const char* revision;
    std::string file;
    const char* commands;
    uint8_t option_byte;
    std::string printed;
  } cases[] = {
      {"REV 2.30", full, "01 09 12 13 15", 0x40,
       "Entering command mode...\n" + kSuccess + kCountdown},
      {"REV 2.29", full, "01 09", 0x40, kSuccess + kCountdown},
      {"REV 2.30", kBasic, "01 09", 0x40, kSuccess + kCountdown},
      // Custom configuration off: the defaults of the wedge position, with a warning.
      {"REV 2.30", "Zyr MSR Configuration File\r\n1d%;+?\r\n", "01 09", 0x01,
       kSuccess + "\"Use Custom Configuration\" is disable" + kCountdown},
  };
  reader.state().slide_switch = sim::SlideSwitch::kWedge;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    reader.state().revision = c.revision;
    EXPECT_EQ(Run(Put("a.dat", c.file) + ",COM3,19200"), 0);
    EXPECT_EQ(Commands(), c.commands);
    EXPECT_EQ(reader.state().option_byte, c.option_byte);
    EXPECT_TRUE(out.str().ends_with(c.printed)) << out.str();
  }
}

// A configuration that was not applied must neither say so nor exit 0.
TEST_F(UnattendedRunTest, NotAppliedConfigurationsFailWithTheSummary) {
  const std::string full = std::string(kBasic) + kEnhanced;
  const struct {
    const char* file;  // none: no such file
    std::string corrupted;
    bool present;
    std::string summary;
  } cases[] = {
      {full.c_str(), "", false, kNotClaimed},
      {nullptr, "", true, kError},
      {"Zyr MSR Enhanced Configuration File\r\n5c%;+?\r\n", "", true, kError},  // bad header
      {"Zyr MSR Configuration File\r\n", "", true, kError},
      {full.c_str(), ":0100001109E5", true, kError},    // the commit refused
      {full.c_str(), ":02000011130ECC", true, kError},  // the enhanced Set's carriage returns
      {full.c_str(), ":060000110140253b2b3fde", true, kError},  // Set Config
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file ? c.file : "no file");
    fs::remove(dir / "a.dat");
    if (c.file != nullptr) Put("a.dat", c.file);
    corrupting.corrupted = {c.corrupted};
    sim_ports.present_ports = {c.present ? "COM3" : "COM9"};
    EXPECT_EQ(Run((dir / "a.dat").string()), 1);
    EXPECT_TRUE(out.str().ends_with(c.summary)) << out.str();
  }
}

// The command line is matched in capitals, but the file system tells case apart: the
// path is tried as typed, then in capitals.
TEST_F(UnattendedRunTest, OpensTheFileAsTypedThenInCapitals) {
  const fs::path previous = fs::current_path();
  fs::current_path(dir);
  Put("lower.dat", kBasic);
  Put("UPPER.DAT", kBasic);
  Put("both.dat", "Zyr MSR Configuration File\r\n7c%;+?\r\n");
  Put("BOTH.DAT", kBasic);
  const int lower = Run("lower.dat");
  const int upper = Run("upper.dat,COM3");
  const int both = Run("both.dat");
  const uint8_t both_option_byte = reader.state().option_byte;
  const int neither = Run("none.dat");
  fs::current_path(previous);
  EXPECT_EQ(lower + upper + both, 0);
  EXPECT_EQ(both_option_byte, 0x60);  // both.dat's: no sentinels
  EXPECT_EQ(neither, 1);
}

TEST_F(UnattendedRunTest, DebugCommandPrintsTheReplyAndRestoresAfterTheCountdown) {
  const struct {
    int silent_after;  // frames, from the reader's start
    bool present;
    const char* command_line;
    std::string printed;
  } failures[] = {
      {3, true, "/C:0100001118D6", "Error processing the command.\nMSR Command Response:\n\n"},
      {-1, true, "/C:0100001117D7", "MSR Command Response:\n:0100001117D7Error\n"},
      {-1, false, "/C:0100001118D6", ""},
  };
  ports.frame = ":0100001117D7";
  ports.reply = ":0100001117D7Error";
  for (const auto& c : failures) {
    SCOPED_TRACE(c.printed);
    reader.faults().silent_after_frames = c.silent_after;
    sim_ports.present_ports = {c.present ? "COM3" : "COM9"};
    EXPECT_EQ(Run(c.command_line), 1);
    EXPECT_TRUE(out.str().ends_with(
        c.printed.empty()
            ? kNotClaimed
            : c.printed + "\nPlease unplug/plug the MSR enable functional mode.\n." + kCountdown))
        << out.str();
  }

  sim_ports.present_ports = {"COM3"};
  const int64_t start = clock.NowMs();
  EXPECT_EQ(Run("/c:0100001118d6,COM3"), 0);
  // The reply as the reader sent it: the echo, ".", and the slide switch record.
  EXPECT_EQ(out.str(),
            "Entering command mode...\nDebugging MSR Command...\n\n\nMSR Command Response:\n"
            ":0100001118D6.:03000011001800D4\n." +
                kCountdown);
  EXPECT_EQ(reader.received_frames().back(), ":0100001111DD");
  EXPECT_GE(clock.NowMs() - start, 5000);
}

TEST_F(UnattendedRunTest, UsageAndTheMissingWindow) {
  EXPECT_EQ(Run("FIRMWARE.HEX,COM3"), 1);
  EXPECT_TRUE(out.str().starts_with(
      "About Unattended Mode\n\nMSR Configuration Utility v1.32\nCopyright (C) Pelgar "
      "developers\n\nUsage: PELGAR.EXE <CONFIG.DAT>,[<COM PORT>],[<BAUD RATE>]\n\tload "
      "configuration setting to MSR\n"));
  EXPECT_NE(out.str().find("PELGAR_PORT_DIR"), std::string::npos);
  EXPECT_TRUE(out.str().ends_with("See man pelgar." + kCountdown));
  EXPECT_EQ(Run(""), kExitNoWindow);
  EXPECT_NE(err.str().find("not available in this build"), std::string::npos);
  EXPECT_TRUE(reader.received_frames().empty());
}

}  // namespace
}  // namespace pelgar::app
