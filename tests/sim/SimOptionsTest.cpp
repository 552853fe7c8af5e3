#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimOptions.h"

namespace pelgar::sim {
namespace {

bool Parse(std::vector<const char*> arguments, SimOptions* options, std::string* error) {
  arguments.insert(arguments.begin(), "pelgar-sim");
  return ParseSimOptions(static_cast<int>(arguments.size()), arguments.data(), options, error);
}

TEST(SimOptions, ReadsEveryOptionAndFault) {
  SimOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--port",         "COM3",    "--revision=REV 2.29",
                     "--switch",       "wedge",   "--state",
                     "reader.state",   "--trace", "--fault",
                     "silent-after=3", "--fault", "late-commit=1500",
                     "--fault=noise",  "--fault", "long-replies",
                     "--fault",        "reject",  "--fault",
                     "baud=9600",      "--fault", "silent"},
                    &options, &error))
      << error;
  EXPECT_EQ(options.port, "COM3");
  EXPECT_EQ(options.revision, "REV 2.29");
  EXPECT_EQ(options.slide_switch, SlideSwitch::kWedge);
  EXPECT_EQ(options.state_file, "reader.state");
  EXPECT_TRUE(options.trace);
  EXPECT_EQ(options.faults.silent_after_frames, 3);
  EXPECT_EQ(options.faults.late_commit_ms, 1500);
  EXPECT_TRUE(options.faults.noise);
  EXPECT_TRUE(options.faults.long_replies);
  EXPECT_TRUE(options.faults.reject);
  EXPECT_TRUE(options.faults.silent);
  EXPECT_EQ(options.reader_baud, 9600);
}

TEST(SimOptions, RefusesWhatItDoesNotUnderstand) {
  const std::vector<std::vector<const char*>> bad = {
      {},
      {"--port"},
      {"--port", "COM3", "--bogus"},
      {"--port", "COM3", "--switch", "usb"},
      {"--port", "COM3", "--revision", "REV 2.300"},
      {"--port", "COM3", "--fault", "explode"},
      {"--port", "COM3", "--fault", "silent-after"},
      {"--port", "COM3", "--fault", "silent-after=-1"},
      {"--port", "COM3", "--fault", "late-commit=99999999999999999999"},
      {"--port", "COM3", "--fault", "baud=12345"},
      {"--port", "COM3", "--fault", "noise=1"},
      {"--port", "COM3", "--state", ""},
  };
  for (const auto& arguments : bad) {
    SimOptions options;
    std::string error;
    EXPECT_FALSE(Parse(arguments, &options, &error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(SimOptions, HelpNeedsNoPort) {
  SimOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--help"}, &options, &error));
  EXPECT_TRUE(options.help);
}

}  // namespace
}  // namespace pelgar::sim
