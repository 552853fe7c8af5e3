#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "platform/posix/Files.h"
#include "platform/posix/ReplacingFile.h"
#include "tests/platform/TestEnvironment.h"

namespace pelgar::platform {
namespace {

namespace fs = std::filesystem;

class ReplacingFileTest : public ::testing::Test {
 protected:
  void SetUp() override { std::ofstream(target_, std::ios::binary) << "old"; }
  // The target's content and the number of entries: no temporary file may be left behind.
  std::string State() const {
    return ReadFileStart(target_, 100).value_or("<none>") + " " +
           std::to_string(std::distance(fs::directory_iterator(dir_.root), {}));
  }

  TempDir dir_;
  const std::string target_ = dir_ / "CONFIG.DAT";
};

TEST_F(ReplacingFileTest, ReplacesOnlyWhenCommittedKeepingModeAndLinks) {
  chmod(target_.c_str(), 0640);
  fs::create_symlink(target_, dir_ / "link.dat");
  {
    ReplacingFile file;
    ASSERT_TRUE(file.Open(target_) && file.Write("half"));
  }
  EXPECT_EQ(State(), "old 2");
  ReplacingFile file;
  ASSERT_TRUE(file.Open(dir_ / "link.dat") && file.Write("new") && file.Commit());
  EXPECT_EQ(State(), "new 2");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.dat"));
  EXPECT_EQ(fs::status(target_).permissions(), fs::perms(0640));
  EXPECT_EQ(ReadFileStart(target_, 2), "ne");  // at most the bytes asked, and only of a file
  EXPECT_FALSE(ReadFileStart(dir_ / "none", 4) || ReadFileStart(dir_.root, 4));
}

// A full disk, simulated with a file size limit.
TEST_F(ReplacingFileTest, FailedWriteLeavesTheOldFileIntact) {
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{8, saved.rlim_max};
  auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  ReplacingFile file;
  const bool opened = file.Open(target_);
  const bool written = file.Write(std::string(100, 'x')) || file.Commit();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous_handler);
  EXPECT_TRUE(opened && !written && !file.error().empty());
  EXPECT_EQ(State(), "old 1");
}

}  // namespace
}  // namespace pelgar::platform
