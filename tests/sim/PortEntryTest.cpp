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

}  // namespace
}  // namespace pelgar::sim
