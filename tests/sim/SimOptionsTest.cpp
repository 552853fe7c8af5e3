#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "sim/SimOptions.h"

namespace pelgar::sim {
namespace {

// `line` holds the arguments after the program name, separated by "|".
bool Parse(const std::string& line, SimOptions* options, std::string* error) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; std::getline(in, word, '|');) words.push_back(word);
  std::vector<const char*> argv{"pelgar-sim"};
  for (const std::string& word : words) argv.push_back(word.c_str());
  return ParseSimOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(SimOptions, ReadsEveryOptionAndFault) {
  SimOptions options;
  std::string error;
  ASSERT_TRUE(Parse(
      "--port|COM3|--revision=REV 2.29|--switch|wedge|--state|reader.state|--trace|--fault|"
      "silent-after=3|--fault|late-commit=1500|--fault=noise|--fault|long-replies|--fault|reject|"
      "--fault|baud=9600|--fault|silent",
      &options, &error))
      << error;
  EXPECT_EQ(options.port, "COM3");
  EXPECT_EQ(options.revision, "REV 2.29");
  EXPECT_EQ(options.slide_switch, SlideSwitch::kWedge);
  EXPECT_EQ(options.state_file, "reader.state");
  EXPECT_TRUE(options.trace);
  EXPECT_EQ(options.faults.silent_after_frames, 3);
  EXPECT_EQ(options.faults.late_commit_ms, 1500);
  EXPECT_TRUE(options.faults.noise && options.faults.long_replies && options.faults.reject &&
              options.faults.silent);
  EXPECT_EQ(options.reader_baud, 9600);
  ASSERT_TRUE(Parse("--help", &options, &error));  // needs no port
  EXPECT_TRUE(options.help);
}

TEST(SimOptions, RefusesWhatItDoesNotUnderstand) {
  for (const char* line :
       {"", "--port", "--port|COM3|--bogus", "--port|COM3|--switch|usb",
        "--port|COM3|--revision|REV 2.300", "--port|COM3|--fault|silent-after=-1",
        "--port|COM3|--fault|noise=1", "--port|COM3|--fault|late-commit=99999999999999999999",
        "--port|COM3|--fault|baud=12345", "--port|COM3|--state="}) {
    SimOptions options;
    std::string error;
    EXPECT_FALSE(Parse(line, &options, &error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
}

}  // namespace
}  // namespace pelgar::sim
