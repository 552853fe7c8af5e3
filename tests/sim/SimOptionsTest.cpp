#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "sim/SimOptions.h"

namespace pelgar::sim {
namespace {

// Parses `line` (the arguments after the program name, separated by "|"). Returns the
// options that differ from the defaults, by name, or "refused: " and the error.
std::string Parsed(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; std::getline(in, word, '|');) words.push_back(word);
  std::vector<const char*> argv{"pelgar-sim"};
  for (const std::string& word : words) argv.push_back(word.c_str());
  SimOptions o;
  std::string error;
  if (!ParseSimOptions(static_cast<int>(argv.size()), argv.data(), &o, &error)) {
    return "refused: " + error;
  }
  const Faults& f = o.faults;
  std::ostringstream s;
  s << "port=" << o.port;
  if (o.revision) s << " revision=\"" << *o.revision << '"';
  const char* const switches[] = {"serial", "wedge", "none"};
  if (o.slide_switch) s << " switch=" << switches[static_cast<int>(*o.slide_switch)];
  if (!o.state_file.empty()) s << " state=" << o.state_file;
  if (o.reader_baud) s << " baud=" << *o.reader_baud;
  s << (o.trace ? " trace" : "") << (o.help ? " help" : "") << (o.version ? " version" : "")
    << (f.silent ? " silent" : "") << (f.reject ? " reject" : "") << (f.noise ? " noise" : "")
    << (f.long_replies ? " long-replies" : "") << (f.isp_silent ? " isp-silent" : "");
  if (f.silent_after_frames >= 0) s << " silent-after=" << f.silent_after_frames;
  if (f.late_commit_ms > 0) s << " late-commit=" << f.late_commit_ms;
  s << std::hex << std::uppercase << std::setfill('0');  // addresses as the options take them
  if (f.isp_unacknowledged_address >= 0) {
    s << " isp-unacknowledged=" << std::setw(4) << f.isp_unacknowledged_address;
  }
  if (f.isp_mismatch_address >= 0) s << " isp-mismatch=" << std::setw(4) << f.isp_mismatch_address;
  return s.str();
}

TEST(SimOptions, ReadsEveryOptionAndFaultAndRefusesTheRestSayingWhy) {
  const std::pair<const char*, std::string> cases[] = {
      {"--port|COM3|--revision=REV 2.29|--switch|wedge|--state|reader.state|--trace",
       "port=COM3 revision=\"REV 2.29\" switch=wedge state=reader.state trace"},
      {"--port|COM3|--fault|silent-after=3|--fault|late-commit=1500|--fault=noise|--fault|"
       "long-replies|--fault|reject|--fault|baud=9600|--fault|silent",
       "port=COM3 baud=9600 silent reject noise long-replies silent-after=3 late-commit=1500"},
      {"--help", "port= help"},  // needs no port
      {"-V", "port= version"},
      {"--port|COM3|--switch=none", "port=COM3 switch=none"},
      // The family and the newest revision act on the revision, in whatever order.
      {"--port|COM3|--family|1", "port=COM3 revision=\"REV 1.30\""},
      {"--family=3|--port|COM3|--revision|REV 2.50", "port=COM3 revision=\"REV 3.50\""},
      {"--port|COM3|--fault|newer-revision", "port=COM3 revision=\"REV 2.99\""},
      {"--port|COM3|--fault|isp-silent|--fault|isp-mismatch=0x0104|--fault|isp-unacknowledged=3FF0",
       "port=COM3 isp-silent isp-unacknowledged=3FF0 isp-mismatch=0104"},
      {"", "refused: --port COMn is required"},
      {"--port", "refused: option --port needs a value"},
      {"--port|COM3|--bogus", "refused: unknown option \"--bogus\" (see --help)"},
      {"--port|COM3|--switch|usb", "refused: --switch takes serial, wedge or none, not \"usb\""},
      {"--port|COM3|--revision|REV 2.300",
       "refused: a revision has at most 8 printable characters: \"REV 2.300\""},
      {"--port|COM3|--family|4", "refused: --family takes 1, 2 or 3, not \"4\""},
      {"--port|COM3|--state=", "refused: --state needs a file name"},
      {"--port|COM3|--fault|silent-after=-1",
       "refused: fault silent-after needs a number: silent-after=N"},
      {"--port|COM3|--fault|late-commit=99999999999999999999",
       "refused: fault late-commit needs a number: late-commit=N"},
      {"--port|COM3|--fault|noise=1", "refused: fault noise takes no value"},
      {"--port|COM3|--fault|baud=12345", "refused: fault baud: 12345 is not a serial rate"},
      {"--port|COM3|--fault|isp-mismatch=4000",
       "refused: fault isp-mismatch needs an address from 0000 to 3FFF: isp-mismatch=ADDR"},
      {"--port|COM3|--fault|isp-unacknowledged",
       "refused: fault isp-unacknowledged needs an address from 0000 to 3FFF: "
       "isp-unacknowledged=ADDR"},
      {"--port|COM3|--fault|explode", "refused: unknown fault \"explode\" (see --help)"},
  };
  for (const auto& [line, options] : cases) EXPECT_EQ(Parsed(line), options) << line;
}

}  // namespace
}  // namespace pelgar::sim
