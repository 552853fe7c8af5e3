#include <gtest/gtest.h>

#include <filesystem>

#include "platform/posix/PortNames.h"
#include "tests/platform/TestEnvironment.h"

namespace pelgar::platform {
namespace {

TEST(PortNames, PortDirectoryPrefersPelgarPortDirThenXdgThenHome) {
  ScopedEnv home("HOME", "/home/tech");
  ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
  ScopedEnv dir("PELGAR_PORT_DIR", nullptr);
  EXPECT_EQ(PortDirectory(), "/home/tech/.config/pelgar/ports");
  xdg.Set("/cfg");
  dir.Set("");
  EXPECT_EQ(PortDirectory(), "/cfg/pelgar/ports");
  dir.Set("/run/ports");
  EXPECT_EQ(PortDirectory(), "/run/ports");
}

TEST(PortNames, EntryInThePortDirectoryElseTtyS) {
  TempDir dir;
  ScopedEnv env("PELGAR_PORT_DIR", dir.path().c_str());
  // A dangling link still names the device: opening it reports what is missing.
  std::filesystem::create_symlink("/dev/ttyUSB7", dir / "COM3");
  const std::pair<const char*, std::string> kCases[] = {
      {"COM3", dir / "COM3"},
      {"COM3 ", dir / "COM3"},
      {"COM1 ", "/dev/ttyS0"},
      {"COM11", "/dev/ttyS10"},
      {"", ""},
      {"COM", ""},
      {"COM0", ""},
      {"COMX", ""},
      {"LPT1", ""},
      {"../COM3", ""},
      {"COM3/..", ""},
      {"..", ""},
  };
  for (const auto& [name, device] : kCases) EXPECT_EQ(DevicePathForPort(name), device) << name;
}

}  // namespace
}  // namespace pelgar::platform
