// pelgarctl apply sends what `pelgar FILE.DAT,COM3` sends for the same file and reader, and
// refuses before claiming a reader what that run would refuse at any step.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "app/Application.h"
#include "cli/ReaderJob.h"
#include "cli/SimWorlds.h"
#include "support/TestEnvironment.h"

namespace pelgar::cli {
namespace {

using sim::SlideSwitch;

const std::string kBasic = "Zyr MSR Configuration File\r\n5c%;+?\r\n";
const std::string kEnhanced = "Zyr MSR Enhanced Configuration File\r\n";
const std::string k14 = "ABCDEFGHIJKLMN";

std::string Example(const char* name) {
  std::ifstream file(std::string(PELGAR_TEST_DATA "/../../examples/") + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

std::vector<std::string> PelgarFrames(const std::string& file, const sim::ReaderState& state) {
  platform::TempDir dir;
  sim::SimulatedReader reader(state);
  SimWorlds::World world(reader, "COM3");
  std::ostringstream out, err;
  app::Application(world.recording, world.time, out, err).Run(dir.Put("A.DAT", file) + ",COM3");
  return world.recording.Frames();
}

TEST(SameFrames, ApplySendsWhatTheUnattendedRunSends) {
  const struct {
    std::string file;
    SlideSwitch position;
    const char* revision = "REV 2.30";
  } rows[] = {
      {Example("BASIC.DAT"), SlideSwitch::kSerial},
      {Example("WRAPPED.DAT"), SlideSwitch::kWedge},
      {Example("WRAPPED.DAT"), SlideSwitch::kSerial, "REV 2.20"},
      // Custom configuration off: the default one, carriage return after the switch.
      {"Zyr MSR Configuration File\n9d!!!!\n", SlideSwitch::kWedge},
      {"Zyr MSR Configuration File\n9d!!!!\n", SlideSwitch::kNone},
      // The end sentinel left out keeps what the reader showed.
      {"Zyr MSR Configuration File\n5c#;+\n", SlideSwitch::kSerial},
      // A wrapper of 14 excludes the other; no line 6 sends no returns; language 02 none.
      {kBasic + kEnhanced + "12H:" + k14 + "\n12T:abc\n15:02\n", SlideSwitch::kWedge},
      {kBasic + kEnhanced + "12H:abc\n12T:" + k14 + "\n13:01\n15:FF\n", SlideSwitch::kWedge},
      {kBasic + kEnhanced + "12H:" + k14 + "\n12T:" + k14 + "\n", SlideSwitch::kSerial},
      {kBasic + kEnhanced + "12H:\\\\a\\035b\n12T:\n13:0F\n15:00\n", SlideSwitch::kWedge},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    const sim::ReaderState state = Reader(row.position, row.revision);
    std::string why;
    const std::optional<ConfigurationPlan> plan = PlanConfiguration(row.file, &why);
    ASSERT_TRUE(plan.has_value()) << why;
    sim::SimulatedReader reader(state);
    SimWorlds::World world(reader, "COM3");
    ReaderStatus status;
    ReaderJob job({"COM3", "COM3"}, world, 19200, status);
    RunApply(job, *plan, false);
    EXPECT_FALSE(job.report().failed()) << job.report().error;
    EXPECT_EQ(world.recording.Frames(), PelgarFrames(row.file, state));
  }
}

// What the run would refuse somewhere (it stores the basic section first) is refused before
// any reader is claimed. (Wrappers too long together: see pelgarctl's run test.)
TEST(SameFrames, ApplyRefusesWhatTheUnattendedRunRefuses) {
  const std::pair<std::string, const char*> rows[] = {
      {kBasic + kEnhanced + "12H:" + k14 + "O\n", "more than 14"},
      {kBasic + kEnhanced + "12H:a\\031\n", "head wrapper"},
      {kBasic + kEnhanced + "12H:\n12T:\\1\\2\n", "tail wrapper"},
      {"Zyr MSR Config\n5c%;+?\n", "header"},
      {"Kestrel MSR Configuration File\n", "line 2"},
  };
  for (const auto& [file, refused] : rows) {
    std::string why;
    EXPECT_FALSE(PlanConfiguration(file, &why).has_value()) << file;
    EXPECT_NE(why.find(refused), std::string::npos) << why;
  }
}

}  // namespace
}  // namespace pelgar::cli
