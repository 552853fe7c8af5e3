#include <gtest/gtest.h>

#include <filesystem>

#include "platform/PortNames.h"
#include "support/TestEnvironment.h"

namespace pelgar::platform {
namespace {

// An empty variable counts as unset, and so does a relative XDG_CONFIG_HOME, as the XDG
// rules have it. Without any of them there is no port directory: "/.config" is nobody's. A
// dangling link still names the device: opening it reports what is missing.
TEST(PortNames, EntryInThePortDirectoryOfPelgarPortDirXdgOrHomeElseTtyS) {
  TempDir dir;
  ScopedEnv home("HOME", ""), xdg("XDG_CONFIG_HOME", "cfg"), env("PELGAR_PORT_DIR", "");
  EXPECT_EQ(PortDirectory(), "");
  EXPECT_EQ(DevicePathForPort("COM2"), "/dev/ttyS1");
  home.Set("/home/tech");
  EXPECT_EQ(PortDirectory(), "/home/tech/.config/pelgar/ports");
  xdg.Set("/cfg");
  EXPECT_EQ(PortDirectory(), "/cfg/pelgar/ports");
  env.Set(dir.root.c_str());
  std::filesystem::create_symlink("/dev/ttyUSB7", dir / "COM3");
  EXPECT_EQ(DevicePathForPort("COM3 "), dir / "COM3");
  EXPECT_EQ(DevicePathForPort("COM1 "), "/dev/ttyS0");
  EXPECT_EQ(DevicePathForPort("/dev/ttyUSB0"), "/dev/ttyUSB0");  // a device path (pelgarctl -p)
  for (const char* bad : {"", "COM", "COM0", "COMX", "LPT1", "../COM3", "COM3/..", ".."}) {
    EXPECT_EQ(DevicePathForPort(bad), "") << bad;
  }
}

}  // namespace
}  // namespace pelgar::platform
