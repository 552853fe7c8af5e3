#pragma once

#include <string>

#include "sim/ReaderState.h"

namespace pelgar::sim {

// The reader's flash contents in a small text file, so that pelgar-sim keeps what a host
// committed across runs. One entry per line, "name value", hexadecimal where bytes are
// meant; lines starting with "#" are comments; entries left out keep their defaults.
//
//   option_byte 40
//   sentinels 25 3B 2B 3F
//   revision REV 2.30
//   revision_bytes 52455620322E00FF   (instead, when the revision is not plain text)
//   head_wrapper 4142
//   tail_wrapper
//   cr_byte 1E
//   wedge_language 01
//   custom_entry 41 78        (only entries that differ from the identity)
//   program 3FF0 <32 hex digits>   (only 16-byte lines that are not all FF)
class StateFile {
 public:
  // Reads `path` into `state` (flash fields only). A missing file is not an error: the
  // reader starts from its defaults and `existed` is false. On a malformed file returns
  // false with `error` saying which line and what, and leaves `state` untouched.
  static bool Load(const std::string& path, ReaderState* state, bool* existed, std::string* error);
  // The text that Save writes.
  static std::string Format(const ReaderState& state);
  // Writes through the platform's replacing file, so that a crash or a full disk never
  // leaves half a file and a failed save leaves the previous one as it was.
  static bool Save(const std::string& path, const ReaderState& state, std::string* error);
  // Save of a text that Format made.
  static bool Write(const std::string& path, const std::string& text, std::string* error);
  // Parses the text of a state file (Load without the file).
  static bool Parse(const std::string& text, ReaderState* state, std::string* error);
};

}  // namespace pelgar::sim
