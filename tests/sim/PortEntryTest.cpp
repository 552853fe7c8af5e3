#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "sim/PortEntry.h"

namespace pelgar::sim {
namespace {

namespace fs = std::filesystem;

class PortEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pelgar-entry-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    if (const char* old = std::getenv("PELGAR_PORT_DIR")) old_ = old;
    // Not there yet: the simulator makes it.
    setenv("PELGAR_PORT_DIR", (dir_ / "a" / "ports").c_str(), 1);
  }
  void TearDown() override {
    if (old_.empty()) {
      unsetenv("PELGAR_PORT_DIR");
    } else {
      setenv("PELGAR_PORT_DIR", old_.c_str(), 1);
    }
    fs::remove_all(dir_);
  }

  fs::path Entry() const { return dir_ / "a" / "ports" / "COM3"; }

  fs::path dir_;
  std::string old_;
};

TEST_F(PortEntryTest, CreatesTheDirectoryAndReplacesOnlySimulatorLinks) {
  std::string entry;
  std::string error;
  ASSERT_TRUE(CreatePortEntry("COM3", "/dev/pts/41", &entry, &error)) << error;
  EXPECT_EQ(entry, Entry().string());
  EXPECT_EQ(fs::read_symlink(Entry()), "/dev/pts/41");
  // A left-over simulator link is taken over.
  ASSERT_TRUE(CreatePortEntry("COM3", "/dev/pts/42", &entry, &error)) << error;
  EXPECT_EQ(fs::read_symlink(Entry()), "/dev/pts/42");
  // The earlier simulator leaving does not remove the newer one's entry.
  RemovePortEntry(entry, "/dev/pts/41");
  EXPECT_TRUE(fs::is_symlink(Entry()));
  RemovePortEntry(entry, "/dev/pts/42");
  EXPECT_FALSE(fs::exists(fs::symlink_status(Entry())));
}

TEST_F(PortEntryTest, KeepsLinksToRealDevicesAndRefusesOddNames) {
  std::string entry;
  std::string error;
  fs::create_directories(Entry().parent_path());
  fs::create_symlink("/dev/ttyUSB0", Entry());
  EXPECT_FALSE(CreatePortEntry("COM3", "/dev/pts/41", &entry, &error));
  EXPECT_NE(error.find("not a simulator's link"), std::string::npos);
  EXPECT_EQ(fs::read_symlink(Entry()), "/dev/ttyUSB0");
  for (const char* name : {"COM", "COM0", "com3", "COM3/../x", "../COM3", "COM123456789"}) {
    EXPECT_FALSE(CreatePortEntry(name, "/dev/pts/41", &entry, &error)) << name;
  }
}

}  // namespace
}  // namespace pelgar::sim
