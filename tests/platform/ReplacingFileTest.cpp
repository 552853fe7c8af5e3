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
  std::string Content() const { return ReadFileStart(target_, 100).value_or("<none>"); }
  // The target alone: no temporary file left behind.
  size_t Entries() const { return std::distance(fs::directory_iterator(dir_.path()), {}); }

  TempDir dir_;
  const std::string target_ = dir_ / "CONFIG.DAT";
};

TEST_F(ReplacingFileTest, ReplacesContentKeepingModeAndLinks) {
  chmod(target_.c_str(), 0640);
  fs::create_symlink(target_, dir_ / "link.dat");
  ReplacingFile file;
  ASSERT_TRUE(file.Open(dir_ / "link.dat"));
  ASSERT_TRUE(file.Write("new"));
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(Content(), "new");
  EXPECT_EQ(fs::status(target_).permissions(), fs::perms(0640));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.dat"));
  EXPECT_EQ(Entries(), 2u);
}

TEST_F(ReplacingFileTest, UncommittedFileLeavesTheOldOneAlone) {
  {
    ReplacingFile file;
    ASSERT_TRUE(file.Open(target_));
    ASSERT_TRUE(file.Write("half"));
  }
  EXPECT_EQ(Content(), "old");
  EXPECT_EQ(Entries(), 1u);
}

// A full disk, simulated with a file size limit: the write fails, and neither the old
// file nor the directory shows a trace of the attempt.
TEST_F(ReplacingFileTest, FailedWriteLeavesTheOldFileIntact) {
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 8;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  ReplacingFile file;
  bool opened = file.Open(target_);
  bool written = file.Write(std::string(100, 'x'));
  bool committed = file.Commit();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous_handler);

  EXPECT_TRUE(opened);
  EXPECT_FALSE(written || committed);
  EXPECT_FALSE(file.error().empty());
  EXPECT_EQ(Content(), "old");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(ReplacingFileTest, ReadFileStartReadsAtMostTheBytesAsked) {
  EXPECT_EQ(ReadFileStart(target_, 2), "ol");
  EXPECT_EQ(ReadFileStart(dir_ / "none", 4), std::nullopt);
  EXPECT_EQ(ReadFileStart(dir_.path(), 4), std::nullopt);
  EXPECT_TRUE(PathExists(target_));
  EXPECT_FALSE(PathExists(dir_ / "none"));
}

}  // namespace
}  // namespace pelgar::platform
