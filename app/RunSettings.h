#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/FixedText.h"
#include "device/PortText.h"
#include "ui/main/MainWindowSettings.h"

namespace pelgar::app {

// Field sizes, terminator included.
inline constexpr size_t kDebugCommandSize = 50;
inline constexpr size_t kPortNameSize = 10;
inline constexpr size_t kBaudTextSize = 10;
inline constexpr size_t kPathSize = 260;

inline constexpr std::string_view kDefaultPortName = device::kDefaultPortName;
inline constexpr std::string_view kDefaultBaudText = device::kDefaultBaud.text;

// Summary flags: what the messages of an unattended run have reported so far.
namespace summary {
inline constexpr uint32_t kNotClaimed = 0x01;
inline constexpr uint32_t kEnhancedError = 0x02;
inline constexpr uint32_t kUpdated = 0x04;
inline constexpr uint32_t kUsage = 0x08;
inline constexpr uint32_t kCustomConfigurationOff = 0x10;
inline constexpr uint32_t kFileError = 0x20;
inline constexpr uint32_t kDebugCommand = 0x40;
}  // namespace summary

// What the command line asked for. At most one of the three mode flags is set; any of
// them makes the run unattended. Fixed once the command line is read, except the summary
// flags, which the message output keeps.
struct RunSettings {
  uint8_t configuration_load = 0;
  uint8_t debug_command = 0;
  uint8_t usage = 0;
  uint32_t summary_flags = 0;
  config::FixedText<kDebugCommandSize> debug_command_text;
  config::FixedText<kPortNameSize> port_name;
  config::FixedText<kBaudTextSize> baud_text;
  // As typed: the file system tells case apart, so the capitals that the command line
  // is matched in are not forced on the path.
  config::FixedText<kPathSize> configuration_path;
  // Why the command line is refused before anything is claimed or sent: a field longer
  // than it may be ("the command frame is longer than 49 characters"). Empty: accepted.
  std::string refused;
  // The command line holds a blank, which separates no fields: a port or file that is
  // not found may have been meant as two fields.
  bool blank_in_command_line = false;

  bool Unattended() const { return configuration_load != 0 || debug_command != 0 || usage != 0; }
  // What the main window needs of these settings.
  ui::MainWindowSettings WindowSettings() const;
};

}  // namespace pelgar::app
