#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/posix/PortNames.h"

namespace pelgar::platform {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts it back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(PortNames, PortDirectoryPrefersPelgarPortDirThenXdgThenHome) {
  ScopedEnv home("HOME", "/home/tech");
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv dir("PELGAR_PORT_DIR", nullptr);
    EXPECT_EQ(PortDirectory(), "/home/tech/.config/pelgar/ports");
  }
  ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
  {
    ScopedEnv dir("PELGAR_PORT_DIR", "");
    EXPECT_EQ(PortDirectory(), "/cfg/pelgar/ports");
  }
  ScopedEnv dir("PELGAR_PORT_DIR", "/run/ports");
  EXPECT_EQ(PortDirectory(), "/run/ports");
}

TEST(PortNames, EntryInThePortDirectoryElseTtyS) {
  char pattern[] = "/tmp/pelgar-ports-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path dir = pattern;
  ScopedEnv env("PELGAR_PORT_DIR", pattern);
  // A dangling link still names the device: opening it reports what is missing.
  fs::create_symlink("/dev/ttyUSB7", dir / "COM3");
  EXPECT_EQ(DevicePathForPort("COM3"), (dir / "COM3").string());
  EXPECT_EQ(DevicePathForPort("COM3 "), (dir / "COM3").string());
  EXPECT_EQ(DevicePathForPort("COM1 "), "/dev/ttyS0");
  EXPECT_EQ(DevicePathForPort("COM11"), "/dev/ttyS10");
  for (const char* bad : {"", "COM", "COM0", "COMX", "LPT1", "../COM3", "COM3/..", ".."}) {
    EXPECT_EQ(DevicePathForPort(bad), "") << bad;
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace pelgar::platform
