#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/Faults.h"
#include "sim/ReaderState.h"

namespace pelgar::sim {

// The command line of pelgar-sim. The revision, family and newer-revision options all act
// on the revision text, so they are combined only after the whole line has been read.
struct SimOptions {
  std::string port;
  std::optional<std::string> revision;
  std::optional<SlideSwitch> slide_switch;
  std::string state_file;
  Faults faults;
  std::optional<int32_t> reader_baud;  // --fault baud=RATE
  // The firmware family digit of the revision (--family), which picks the ISP dialect.
  std::optional<int> family;
  // --fault newer-revision: the reader reports its family's newest revision, so that any
  // firmware file counts as identical or older.
  bool newest_revision = false;
  bool trace = false;
  bool help = false;
  bool version = false;
};

// Reads the whole command line. False with `error` set (one line, no program name) for
// anything it does not understand; the caller exits with status 2.
bool ParseSimOptions(int argc, const char* const* argv, SimOptions* options, std::string* error);

// One --fault argument: NAME or NAME=VALUE.
bool ParseFault(std::string_view text, SimOptions* options, std::string* error);

// What --help prints.
std::string SimUsage();

}  // namespace pelgar::sim
