#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/Application.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/RecordingPorts.h"
#include "support/TestEnvironment.h"

namespace pelgar::app {
namespace {

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
const std::string kBasic = "Zyr MSR Configuration File\r\n5c%;+?\r\n";
const std::string kEnhancedHead = "Zyr MSR Enhanced Configuration File\r\n";
const std::string kFull = kBasic + kEnhancedHead + "12H:AB\r\n12T:\r\n13:0F\r\n15:00\r\n";

// The whole program, from its command line to its exit status, against the simulated
// reader on COM3 on virtual time.
class UnattendedRunTest : public ::testing::Test {
 protected:
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

  platform::TempDir dir;
  sim::SimulatedReader reader;
  platform::VirtualClock clock;
  sim::InProcessPortFactory sim_ports{reader, clock};
  testing::RecordingPorts ports{sim_ports};  // refuses chosen frames
  std::ostringstream out, err;
};

// (What each section sets in the reader, and which reader takes the enhanced one: see the
// end-to-end and same-frames tests.) Custom configuration off sends the defaults of the
// wedge position, with a warning.
TEST_F(UnattendedRunTest, LoadsTheFileAndSaysSo) {
  const struct {
    std::string file;
    const char* commands;
    uint8_t option_byte;
    const char* warning = "";
    const char* wrappers = "|";  // the reader's head and tail afterwards
  } kCases[] = {
      {"Zyr MSR Configuration File\r\n1d%;+?\r\n", "01 09", 0x01,
       "\"Use Custom Configuration\" is disable"},
      // A 14-character head excludes the tail, which goes neither out nor into the checks.
      {kBasic + kEnhancedHead + "12H:ABCDEFGHIJKLMN\r\n12T:ABC\r\n13:0F\r\n15:00\r\n",
       "01 09 12 13 15", 0x40, "", "ABCDEFGHIJKLMN|"},
  };
  reader.state().slide_switch = sim::SlideSwitch::kWedge;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(Run(dir.Put("a.dat", c.file) + ",COM3,19200"), 0);
    EXPECT_EQ(Commands(), c.commands);
    EXPECT_EQ(reader.state().option_byte, c.option_byte);
    EXPECT_EQ(reader.state().head_wrapper + "|" + reader.state().tail_wrapper, c.wrappers);
    // NOLINTNEXTLINE(performance-inefficient-string-concatenation): one expected text per case
    EXPECT_TRUE(out.str().ends_with(kSuccess + c.warning + kCountdown)) << out.str();
  }
}

// A configuration that was not applied must neither say so nor exit 0. (A reader that is not
// claimed: see the end-to-end runs.)
TEST_F(UnattendedRunTest, NotAppliedConfigurationsFailWithTheSummary) {
  const struct {
    std::string file;  // empty: no such file
    std::string refused_frame{};
    const char* commands = nullptr;  // when given, all the reader received
  } kCases[] = {
      {""},
      {"Zyr MSR Enhanced Configuration File\r\n5c%;+?\r\n"},  // a bad header
      {kBasic + kEnhancedHead + "12H:\\999\r\n"},             // no such character
      // 15 characters once decoded: the configuration goes, no wrappers, CR or language.
      {kBasic + kEnhancedHead + "12H:ABCDEFGHIJKLMN\\035\r\n", "", "01 09"},
      {kFull, ":0100001109E5"},            // the commit
      {kFull, ":02000011130ECC"},          // the enhanced Set's carriage returns
      {kFull, ":060000110140253b2b3fde"},  // Set Config
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.file + c.refused_frame);
    std::filesystem::remove(dir / "a.dat");
    if (!c.file.empty()) dir.Put("a.dat", c.file);
    ports.corrupted = {c.refused_frame};
    EXPECT_EQ(Run(dir / "a.dat"), 1);
    EXPECT_TRUE(out.str().ends_with(kError)) << out.str();
    if (c.commands) {
      EXPECT_EQ(Commands(), c.commands);
    }
  }
}

// A reader that goes silent once claimed, an absent one, and one that answers.
TEST_F(UnattendedRunTest, DebugCommandPrintsTheReplyAndRestoresAfterTheCountdown) {
  reader.faults().silent_after_frames = 3;  // claimed, then silent
  EXPECT_EQ(Run("/C:0100001117D7"), 1);
  const std::string kUnplug = "\nPlease unplug/plug the MSR enable functional mode.\n.";
  EXPECT_TRUE(out.str().ends_with("command.\nMSR Command Response:\n\n" + kUnplug + kCountdown))
      << out.str();
  reader.faults() = {};
  sim_ports.present_ports = {"COM9"};
  EXPECT_EQ(Run("/C:0100001118D6"), 1);
  EXPECT_TRUE(out.str().ends_with(kNotClaimed)) << out.str();
  sim_ports.present_ports = {"COM3"};
  const int64_t start = clock.NowMs();
  EXPECT_EQ(Run("/c:0100001118d6,COM3"), 0);
  // The reply as the reader sent it: the echo, ".", and the slide switch record.
  EXPECT_EQ(out.str(),
            "Entering command mode...\nDebugging MSR Command...\n\n\nMSR Command Response:\n"
            ":0100001118D6.:03000011001800D4\n." +
                kCountdown);
  EXPECT_EQ(reader.received_frames().back(), ":0100001111DD");
  EXPECT_EQ(clock.NowMs() - start, 4 * 500 + 5 * 1000 + 500);  // exchanges, countdown, restore
}

}  // namespace
}  // namespace pelgar::app
