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
  std::ofstream(dir / "A.DAT", std::ios::binary) << file;
  sim::SimulatedReader reader(state);
  SimWorlds::World world(reader, "COM3");
  std::ostringstream out, err;
  app::Application(world.recording, world.time, out, err).Run(std::string(dir / "A.DAT") + ",COM3");
  return world.recording.Frames();
}

TEST(SameFrames, ApplySendsWhatTheUnattendedRunSends) {
  const struct {
    std::string file;
    SlideSwitch position;
    const char* revision;
    const char* refused;  // why pelgarctl refuses, none when it applies
  } rows[] = {
      {Example("BASIC.DAT"), SlideSwitch::kSerial, "REV 2.30", nullptr},
      {Example("CONFIG.DAT"), SlideSwitch::kWedge, "REV 2.30", nullptr},
      {Example("WRAPPED.DAT"), SlideSwitch::kWedge, "REV 2.30", nullptr},
      {Example("WRAPPED.DAT"), SlideSwitch::kSerial, "REV 2.20", nullptr},
      // Custom configuration off: the default one, carriage return after the switch.
      {"Zyr MSR Configuration File\n9d!!!!\n", SlideSwitch::kWedge, "REV 2.30", nullptr},
      {"Zyr MSR Configuration File\n9d!!!!\n", SlideSwitch::kNone, "REV 2.30", nullptr},
      // The end sentinel left out keeps what the reader showed.
      {"Zyr MSR Configuration File\n5c#;+\n", SlideSwitch::kSerial, "REV 2.30", nullptr},
      // A wrapper of 14 excludes the other; no line 6 sends no returns; language 02 none.
      {kBasic + kEnhanced + "12H:" + k14 + "\n12T:abc\n15:02\n", SlideSwitch::kWedge, "REV 2.30",
       nullptr},
      {kBasic + kEnhanced + "12H:abc\n12T:" + k14 + "\n13:01\n15:FF\n", SlideSwitch::kWedge,
       "REV 2.30", nullptr},
      {kBasic + kEnhanced + "12H:" + k14 + "\n12T:" + k14 + "\n", SlideSwitch::kSerial, "REV 2.30",
       nullptr},
      {kBasic + kEnhanced + "12H:\\\\a\\035b\n12T:\n13:0F\n15:00\n", SlideSwitch::kWedge,
       "REV 2.30", nullptr},
      // What the run would refuse somewhere (it stores the basic section first).
      {kBasic + kEnhanced + "12H:0123456789\n12T:abcde\n", SlideSwitch::kSerial, "REV 2.30",
       "more than 14 together"},
      {kBasic + kEnhanced + "12H:" + k14 + "O\n", SlideSwitch::kSerial, "REV 2.30", "more than 14"},
      {kBasic + kEnhanced + "12H:a\\031\n", SlideSwitch::kSerial, "REV 2.30", "head wrapper"},
      {kBasic + kEnhanced + "12H:\n12T:\\1\\2\n", SlideSwitch::kSerial, "REV 2.30", "tail wrapper"},
      {"Zyr MSR Config\n5c%;+?\n", SlideSwitch::kSerial, "REV 2.30", "header"},
      {"Kestrel MSR Configuration File\n", SlideSwitch::kSerial, "REV 2.30", "line 2"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    const sim::ReaderState state = Reader(row.position, row.revision);
    std::string why;
    const std::optional<ConfigurationPlan> plan = PlanConfiguration(row.file, &why);
    if (row.refused != nullptr) {
      EXPECT_FALSE(plan.has_value());
      EXPECT_NE(why.find(row.refused), std::string::npos) << why;
      continue;
    }
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

}  // namespace
}  // namespace pelgar::cli
