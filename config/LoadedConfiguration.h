#pragma once

#include <array>
#include <cstdint>

#include "config/ConfigFile.h"
#include "config/ConfigurationRecord.h"

namespace pelgar::config {

// The configuration record that loading `file` stands for: what the window shows after Load
// and what Set Config then sends, and what pelgarctl's apply sends for the same file. One
// rule for both, so that a file means the same to the window and to a script.
//
// With the file's custom configuration bit on, the record is the file's: its options and
// its four sentinels, except that a sentinel the file leaves out (a line feed at its
// position) stays `shown_sentinels`' (what was shown before the load). With the bit off the
// reader works in its default configuration, so the record is that (the file's sentinels
// are ignored), and carriage return follows the slide switch: on in the wedge position, off
// in the serial position, the file's bit 0 when neither is known.
ConfigurationRecord LoadedConfiguration(const LoadedConfigFile& file,
                                        const std::array<uint8_t, 4>& shown_sentinels,
                                        bool wedge_position, bool serial_position);

}  // namespace pelgar::config
