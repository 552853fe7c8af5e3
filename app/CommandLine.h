#pragma once

#include <string>
#include <string_view>

#include "app/RunSettings.h"

namespace pelgar::app {

// Reads the text after the program name into run settings:
//   (empty)                         interactive
//   anything with ".HEX"            usage display
//   PATH.DAT[,PORT[,BAUD]]          configuration load
//   /C:FRAME[,PORT[,BAUD]]          debug command
//   anything else                   usage display
// Letters are matched without regard to case; fields are split at commas, empty fields
// are skipped and blanks are kept. Port and baud default to "COM3" and "19200". A field
// longer than it may be is cut at its size and the settings say why the run is refused:
// a cut frame or path would name something else, and must never reach a reader.
RunSettings ParseCommandLine(std::string_view command_line);

// The command line's case folding: every letter in capitals.
std::string ToCapitals(std::string_view text);

// The command line of a POSIX program: its arguments after the program name, joined by
// single blanks into the one text a Win32 program is given, so both read it alike.
std::string JoinArguments(int argc, const char* const* argv);

}  // namespace pelgar::app
