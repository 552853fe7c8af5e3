#include <gtest/gtest.h>

#include <string>

#include "app/CommandLine.h"

namespace pelgar::app {
namespace {

std::string Mode(const RunSettings& s) {
  if (s.configuration_load) return "load";
  if (s.debug_command) return "debug";
  if (s.usage) return "usage";
  return "interactive";
}

TEST(CommandLine, EmptyLineIsInteractive) {
  RunSettings s = ParseCommandLine("");
  EXPECT_EQ(Mode(s), "interactive");
  EXPECT_FALSE(s.Unattended());
  EXPECT_TRUE(s.port_name.empty());
}

TEST(CommandLine, ConfigurationFileWithDefaultsOrGivenPortAndBaud) {
  RunSettings s = ParseCommandLine("cfg.dat");
  EXPECT_EQ(Mode(s), "load");
  EXPECT_EQ(s.configuration_path.view(), "cfg.dat");  // matched in capitals, kept as typed
  EXPECT_EQ(s.port_name.view(), "COM3");
  EXPECT_EQ(s.baud_text.view(), "19200");

  s = ParseCommandLine("C:\\SETTINGS\\A.DAT,com4,9600");
  EXPECT_EQ(s.configuration_path.view(), "C:\\SETTINGS\\A.DAT");
  EXPECT_EQ(s.port_name.view(), "COM4");
  EXPECT_EQ(s.baud_text.view(), "9600");
  EXPECT_TRUE(s.Unattended());
}

TEST(CommandLine, FieldsSplitLikeAStandardTokenizer) {
  RunSettings s = ParseCommandLine("A.DAT,,9600");  // empty fields are skipped
  EXPECT_EQ(s.port_name.view(), "9600");
  EXPECT_EQ(s.baud_text.view(), "19200");
  s = ParseCommandLine(",A.DAT, COM4");  // blanks are kept
  EXPECT_EQ(s.configuration_path.view(), "A.DAT");
  EXPECT_EQ(s.port_name.view(), " COM4");
}

TEST(CommandLine, FirmwareFilesAndUnknownTextShowTheUsage) {
  for (const char* line : {"FIRMWARE.HEX", "X.HEX.DAT", "HELP", "--help", "/c0100"}) {
    RunSettings s = ParseCommandLine(line);
    EXPECT_EQ(Mode(s), "usage") << line;
    EXPECT_TRUE(s.port_name.empty()) << line;
  }
}

TEST(CommandLine, DebugCommandTakesTheFrameFromTheColon) {
  RunSettings s = ParseCommandLine("/c:0100001118d6,COM1");
  EXPECT_EQ(Mode(s), "debug");
  EXPECT_EQ(s.debug_command_text.view(), ":0100001118D6");
  EXPECT_EQ(s.port_name.view(), "COM1");
  EXPECT_EQ(s.baud_text.view(), "19200");
}

TEST(CommandLine, DebugMarkerNotAtTheStartShowsTheUsage) {
  // The frame would start with what stands before the marker.
  EXPECT_EQ(Mode(ParseCommandLine("X/C:0100001118D6")), "usage");
}

TEST(CommandLine, OverlongFieldsAreCutAtTheirSize) {
  std::string frame = ":" + std::string(80, '0');
  RunSettings s = ParseCommandLine("/C" + frame + ",COM123456789,1234567890123");
  EXPECT_EQ(s.debug_command_text.view(), frame.substr(0, kDebugCommandSize - 1));
  EXPECT_EQ(s.port_name.view(), "COM123456");
  EXPECT_EQ(s.baud_text.view(), "123456789");

  std::string path(300, 'p');
  s = ParseCommandLine(path + ".DAT,COM4");
  EXPECT_EQ(Mode(s), "load");
  EXPECT_EQ(s.configuration_path.view(), path.substr(0, kPathSize - 1));
  EXPECT_EQ(s.port_name.view(), "COM3");  // past the command line's working buffer
}

TEST(CommandLine, ArgumentsJoinWithSingleBlanks) {
  const char* argv[] = {"pelgar", "A.DAT,", "COM4", nullptr};
  EXPECT_EQ(JoinArguments(3, argv), "A.DAT, COM4");
  EXPECT_EQ(JoinArguments(1, argv), "");
}

}  // namespace
}  // namespace pelgar::app
