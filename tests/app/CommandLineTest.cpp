#include <gtest/gtest.h>

#include <string>

#include "app/CommandLine.h"

namespace pelgar::app {
namespace {

TEST(CommandLine, ModeAndFieldsOfEachShape) {
  const std::string frame = ":" + std::string(80, '0');
  const std::string path(300, 'p');
  const struct {
    std::string line;
    const char* mode;
    std::string first;  // the configuration path or the debug command
    std::string port;
    std::string baud;
  } cases[] = {
      {"", "interactive", "", "", ""},
      {"cfg.dat", "load", "cfg.dat", "COM3", "19200"},  // matched in capitals, kept as typed
      {"C:\\SETTINGS\\A.DAT,com4,9600", "load", "C:\\SETTINGS\\A.DAT", "COM4", "9600"},
      {"A.DAT,,9600", "load", "A.DAT", "9600", "19200"},    // empty fields are skipped
      {",A.DAT, COM4", "load", "A.DAT", " COM4", "19200"},  // blanks are kept
      {" a.dat", "load", " a.dat", "COM3", "19200"},
      {"FIRMWARE.HEX", "usage", "", "", ""},
      {"X.HEX.DAT", "usage", "", "", ""},  // ".HEX" first
      {"HELP", "usage", "", "", ""},
      {"--help", "usage", "", "", ""},
      {"/c0100", "usage", "", "", ""},
      {"X/C:0100001118D6", "usage", "", "", ""},  // its frame would start with "X/"
      {"/c:0100001118d6,COM1", "debug", ":0100001118D6", "COM1", "19200"},
      {"/C" + frame + ",COM123456789,1234567890123", "debug",
       frame.substr(0, kDebugCommandSize - 1), "COM123456", "123456789"},
      // The port lies past the command line's working buffer.
      {path + ".DAT,COM4", "load", path.substr(0, kPathSize - 1), "COM3", "19200"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 40));
    const RunSettings s = ParseCommandLine(c.line);
    const char* mode = s.configuration_load ? "load"
                       : s.debug_command    ? "debug"
                       : s.usage            ? "usage"
                                            : "interactive";
    EXPECT_STREQ(mode, c.mode);
    EXPECT_EQ(s.configuration_load + s.debug_command + s.usage, mode[0] == 'i' ? 0 : 1);
    EXPECT_EQ(s.debug_command ? s.debug_command_text.view() : s.configuration_path.view(), c.first);
    EXPECT_EQ(s.port_name.view(), c.port);
    EXPECT_EQ(s.baud_text.view(), c.baud);
  }
}

TEST(CommandLine, ArgumentsJoinWithSingleBlanks) {
  const char* argv[] = {"pelgar", "A.DAT,", "COM4", nullptr};
  EXPECT_EQ(JoinArguments(3, argv), "A.DAT, COM4");
  EXPECT_EQ(JoinArguments(1, argv), "");
}

}  // namespace
}  // namespace pelgar::app
