#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "sim/SimOptions.h"

namespace pelgar::sim {
namespace {

// Parses `line` (the arguments after the program name, separated by "|") and returns the
// options as one line, or "refused" with an error said.
std::string Parsed(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; std::getline(in, word, '|');) words.push_back(word);
  std::vector<const char*> argv{"pelgar-sim"};
  for (const std::string& word : words) argv.push_back(word.c_str());
  SimOptions o;
  std::string error;
  if (!ParseSimOptions(static_cast<int>(argv.size()), argv.data(), &o, &error)) {
    return error.empty() ? "refused without a word" : "refused";
  }
  const Faults& f = o.faults;
  std::ostringstream s;
  s << o.port << " " << o.revision.value_or("-") << " switch "
    << (o.slide_switch ? static_cast<int>(*o.slide_switch) : -1) << " [" << o.state_file
    << "] baud " << o.reader_baud.value_or(0) << (o.trace ? " trace" : "")
    << (o.help ? " help" : "") << (o.version ? " version" : "") << " | " << f.silent << f.reject
    << f.noise << f.long_replies << f.isp_silent << " " << f.silent_after_frames << " "
    << f.late_commit_ms << " " << f.isp_unacknowledged_address << " " << f.isp_mismatch_address;
  return s.str();
}

TEST(SimOptions, ReadsEveryOptionAndFaultAndRefusesTheRest) {
  const struct {
    const char* line;
    const char* options;
  } cases[] = {
      {"--port|COM3|--revision=REV 2.29|--switch|wedge|--state|reader.state|--trace",
       "COM3 REV 2.29 switch 1 [reader.state] baud 0 trace | 00000 -1 0 -1 -1"},
      {"--port|COM3|--fault|silent-after=3|--fault|late-commit=1500|--fault=noise|--fault|"
       "long-replies|--fault|reject|--fault|baud=9600|--fault|silent",
       "COM3 - switch -1 [] baud 9600 | 11110 3 1500 -1 -1"},
      {"--help", " - switch -1 [] baud 0 help | 00000 -1 0 -1 -1"},  // needs no port
      {"-V", " - switch -1 [] baud 0 version | 00000 -1 0 -1 -1"},
      {"--port|COM3|--family|1", "COM3 REV 1.30 switch -1 [] baud 0 | 00000 -1 0 -1 -1"},
      {"--family=3|--port|COM3|--revision|REV 2.50",
       "COM3 REV 3.50 switch -1 [] baud 0 | 00000 -1 0 -1 -1"},
      {"--port|COM3|--fault|newer-revision",
       "COM3 REV 2.99 switch -1 [] baud 0 | 00000 -1 0 -1 -1"},
      {"--port|COM3|--fault|isp-silent|--fault|isp-mismatch=0x0104|--fault|isp-unacknowledged=3FF0",
       "COM3 - switch -1 [] baud 0 | 00001 -1 0 16368 260"},
  };
  for (const auto& c : cases) EXPECT_EQ(Parsed(c.line), c.options) << c.line;
  for (const char* line :
       {"", "--port", "--port|COM3|--bogus", "--port|COM3|--switch|usb",
        "--port|COM3|--revision|REV 2.300", "--port|COM3|--fault|silent-after=-1",
        "--port|COM3|--fault|noise=1", "--port|COM3|--fault|late-commit=99999999999999999999",
        "--port|COM3|--fault|baud=12345", "--port|COM3|--state=", "--port|COM3|--family|4",
        "--port|COM3|--fault|isp-mismatch=4000", "--port|COM3|--fault|isp-unacknowledged"}) {
    EXPECT_EQ(Parsed(line), "refused") << line;
  }
}

}  // namespace
}  // namespace pelgar::sim
