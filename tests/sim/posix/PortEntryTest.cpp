#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "sim/posix/PortEntry.h"
#include "support/TestEnvironment.h"

namespace pelgar::sim {
namespace {

namespace fs = std::filesystem;

TEST(PortEntry, ReplacesOnlySimulatorLinksAndRemovesOnlyItsOwn) {
  platform::TempDir dir;
  ASSERT_FALSE(dir.root.empty());
  const fs::path com3 = dir.root / "ports" / "COM3";
  platform::ScopedEnv port_dir("PELGAR_PORT_DIR", com3.parent_path().c_str());  // made on demand
  std::string entry;
  std::string error;
  EXPECT_TRUE(CreatePortEntry("COM3", "/dev/pts/41", &entry, &error)) << error;
  EXPECT_EQ(entry, com3.string());
  EXPECT_TRUE(CreatePortEntry("COM3", "/dev/pts/42", &entry, &error)) << error;  // left over
  RemovePortEntry(entry, "/dev/pts/41");  // the earlier simulator leaving
  EXPECT_EQ(fs::read_symlink(com3), "/dev/pts/42");
  RemovePortEntry(entry, "/dev/pts/42");
  EXPECT_FALSE(fs::exists(fs::symlink_status(com3)));

  fs::create_symlink("/dev/ttyUSB0", com3);
  EXPECT_FALSE(CreatePortEntry("COM3", "/dev/pts/41", &entry, &error));
  EXPECT_NE(error.find("not a simulator's link"), std::string::npos) << error;
  EXPECT_EQ(fs::read_symlink(com3), "/dev/ttyUSB0");
  for (const char* name : {"COM", "COM0", "com3", "COM3/../x", "../COM3", "COM123456789"}) {
    EXPECT_FALSE(CreatePortEntry(name, "/dev/pts/41", &entry, &error)) << name;
  }
}

// Whoever may write in the port directory chooses the device behind a port name: the
// folders made for it are the user's alone. Without a place for it, nothing is made, and
// the error says which variable to set.
TEST(PortEntry, MakesItsFoldersPrivateAndNoneWithoutAHome) {
  platform::TempDir dir;
  platform::ScopedEnv port_dir("PELGAR_PORT_DIR", nullptr), home("HOME", dir.root.c_str()),
      xdg("XDG_CONFIG_HOME", nullptr);
  std::string entry;
  std::string error;
  ASSERT_TRUE(CreatePortEntry("COM3", "/dev/pts/41", &entry, &error)) << error;
  EXPECT_EQ(entry, dir / ".config/pelgar/ports/COM3");
  for (const char* folder : {".config", ".config/pelgar", ".config/pelgar/ports"}) {
    EXPECT_EQ(fs::status(dir / folder).permissions(), fs::perms::owner_all) << folder;
  }
  home.Set(nullptr);
  xdg.Set("relative/config");  // not a place the XDG rules allow
  EXPECT_FALSE(CreatePortEntry("COM3", "/dev/pts/41", &entry, &error));
  EXPECT_NE(error.find("set PELGAR_PORT_DIR"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists("relative"));
}

}  // namespace
}  // namespace pelgar::sim
