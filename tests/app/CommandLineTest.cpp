#include <gtest/gtest.h>

#include <string>

#include "app/CommandLine.h"

namespace pelgar::app {
namespace {

// Read as "mode|path or debug command|port|baud". Matched in capitals but kept as typed;
// empty fields are skipped, blanks kept; ".HEX" is looked for first.
std::string Parsed(const std::string& line) {
  const RunSettings s = ParseCommandLine(line);
  if (s.configuration_load + s.debug_command + s.usage > 1) return "two modes";
  if (s.usage) return "usage";
  if (!s.configuration_load && !s.debug_command) return "interactive";
  return std::string(s.debug_command ? "debug|" : "load|") +
         std::string(s.debug_command ? s.debug_command_text.view() : s.configuration_path.view()) +
         "|" + std::string(s.port_name.view()) + "|" + std::string(s.baud_text.view());
}

TEST(CommandLine, ModeAndFieldsOfEachShape) {
  const std::pair<std::string, std::string> kCases[] = {
      {"", "interactive"},
      {"cfg.dat", "load|cfg.dat|COM3|19200"},
      {"C:\\SETTINGS\\A.DAT,com4,9600", "load|C:\\SETTINGS\\A.DAT|COM4|9600"},
      {"A.DAT,,9600", "load|A.DAT|9600|19200"},
      {",A.DAT, COM4", "load|A.DAT| COM4|19200"},
      {"FIRMWARE.HEX", "usage"},
      {"X.HEX.DAT", "usage"},
      {"HELP", "usage"},
      {"/c0100", "usage"},
      {"X/C:0100001118D6", "usage"},  // its frame would start with "X/"
      {"/c:0100001118d6,COM1", "debug|:0100001118D6|COM1|19200"},
  };
  for (const auto& [line, parsed] : kCases) EXPECT_EQ(Parsed(line), parsed) << line;
  // Fields are cut to their buffers; the port lies past the command line's working buffer.
  const std::string frame = ":" + std::string(80, '0');
  EXPECT_EQ(Parsed("/C" + frame + ",COM123456789,1234567890123"),
            "debug|" + frame.substr(0, kDebugCommandSize - 1) + "|COM123456|123456789");
  const std::string path(300, 'p');
  EXPECT_EQ(Parsed(path + ".DAT,COM4"), "load|" + path.substr(0, kPathSize - 1) + "|COM3|19200");
}

TEST(CommandLine, ArgumentsJoinWithSingleBlanks) {
  const char* argv[] = {"pelgar", "A.DAT,", "COM4", nullptr};
  EXPECT_EQ(JoinArguments(3, argv), "A.DAT, COM4");
  EXPECT_EQ(JoinArguments(1, argv), "");
}

}  // namespace
}  // namespace pelgar::app
