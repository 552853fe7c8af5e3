#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace pelgar::sim {

// Where the reader's serial/wedge slide switch stands.
enum class SlideSwitch { kSerial, kWedge, kNone };

inline constexpr size_t kProgramSize = 16384;
inline constexpr size_t kRevisionLength = 8;
// The reader reports at most this many characters per wrapper, and keeps both within it.
inline constexpr size_t kMaxWrapperTotal = 14;
inline constexpr int32_t kDefaultBaud = 19200;

// Everything the reader remembers. The flash copy of the configuration record survives a
// power cycle (and, in pelgar-sim, a --state file); the active copy is what the reader uses
// now. Store mode 00 changes only the active copy; store mode 01 changes the active copy
// and a commit writes the active copy to flash. The enhanced settings live in flash only.
struct ReaderState {
  ReaderState() {
    for (size_t i = 0; i < custom_table.size(); ++i) custom_table[i] = static_cast<uint8_t>(i);
    program.fill(0xFF);
  }

  uint8_t option_byte = 0x00;
  std::array<uint8_t, 4> sentinels{'%', ';', '+', '?'};
  uint8_t active_option_byte = 0x00;
  std::array<uint8_t, 4> active_sentinels{'%', ';', '+', '?'};

  // Eight characters on the wire; a shorter text is padded with blanks, a longer one cut.
  std::string revision = "REV 2.30";
  SlideSwitch slide_switch = SlideSwitch::kSerial;

  std::string head_wrapper;
  std::string tail_wrapper;
  // Bits 1..4: carriage return after track 1, 2, 3, capital mode.
  uint8_t cr_byte = 0x00;
  // 0x00 Alt + NumPad, 0x01 USA, 0xFF custom table.
  uint8_t wedge_language = 0x01;
  // Character typed in wedge mode for each card character code; identity by default.
  std::array<uint8_t, 256> custom_table{};

  // The reader's own line rate: frames that arrive at another rate are garbage to it.
  int32_t baud = kDefaultBaud;
  bool command_mode = false;
  // Set by ":0100001107E7" in command mode; from then on every byte goes to the ISP side,
  // which clears it again when the reader leaves ISP mode.
  bool isp_mode = false;

  std::array<uint8_t, kProgramSize> program{};

  // Makes the active copy what flash holds, as a power cycle does.
  void PowerUp() {
    active_option_byte = option_byte;
    active_sentinels = sentinels;
    command_mode = false;
    isp_mode = false;
  }
};

}  // namespace pelgar::sim
