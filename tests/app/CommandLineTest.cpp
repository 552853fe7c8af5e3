#include <gtest/gtest.h>

#include <string>

#include "app/CommandLine.h"

namespace pelgar::app {
namespace {

// Read as "mode|path or debug command|port|baud", and "+blank" for a blank in the line.
// Matched in capitals but kept as typed; empty fields are skipped, blanks kept; ".HEX" is
// looked for first. A field too long for its buffer refuses the run.
std::string Parsed(const std::string& line) {
  const RunSettings s = ParseCommandLine(line);
  if (s.configuration_load + s.debug_command + s.usage > 1) return "two modes";
  if (!s.refused.empty()) return "refused: " + s.refused;
  if (s.usage) return "usage";
  if (!s.configuration_load && !s.debug_command) return "interactive";
  return std::string(s.debug_command ? "debug|" : "load|") +
         std::string(s.debug_command ? s.debug_command_text.view() : s.configuration_path.view()) +
         "|" + std::string(s.port_name.view()) + "|" + std::string(s.baud_text.view()) +
         (s.blank_in_command_line ? "+blank" : "");
}

TEST(CommandLine, ModeAndFieldsOfEachShape) {
  const std::string frame48 = std::string(48, '0'), path255 = std::string(255, 'p');
  const std::pair<std::string, std::string> kCases[] = {
      {"", "interactive"},
      {"cfg.dat", "load|cfg.dat|COM3|19200"},
      {"C:\\SETTINGS\\A.DAT,com4,9600", "load|C:\\SETTINGS\\A.DAT|COM4|9600"},
      {"A.DAT,,9600", "load|A.DAT|9600|19200"},
      {",A.DAT, COM4", "load|A.DAT| COM4|19200+blank"},
      {"A.DAT COM4 9600", "load|A.DAT COM4 9600|COM3|19200+blank"},
      {"FIRMWARE.HEX", "usage"},
      {"X.HEX.DAT", "usage"},
      {"HELP", "usage"},
      {"/c0100", "usage"},
      {"X/C:0100001118D6", "usage"},  // its frame would start with "X/"
      {"/c:0100001118d6,COM1", "debug|:0100001118D6|COM1|19200"},
      // Each field up to its size, however long the whole line...
      {"/C:" + frame48 + ",COM123456,123456789", "debug|:" + frame48 + "|COM123456|123456789"},
      {path255 + ".DAT,COM4", "load|" + path255 + ".DAT|COM4|19200"},
      // ... and not one character more.
      {"/C:" + frame48 + "0,COM1", "refused: the command frame is longer than 49 characters"},
      {path255 + "p.DAT", "refused: the configuration file path is longer than 259 characters"},
      {"A.DAT,COM1234567", "refused: the port name is longer than 9 characters"},
      {"A.DAT,COM3,1234567890", "refused: the baud rate is longer than 9 characters"},
  };
  for (const auto& [line, parsed] : kCases) EXPECT_EQ(Parsed(line), parsed) << line;
}

}  // namespace
}  // namespace pelgar::app
