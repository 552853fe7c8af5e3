#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/posix/Files.h"
#include "platform/posix/ReplacingFile.h"

namespace pelgar::platform {
namespace {

namespace fs = std::filesystem;

class ReplacingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pelgar-replace-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  size_t Entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  fs::path dir_;
};

TEST_F(ReplacingFileTest, ReplacesContentAndKeepsTheFileMode) {
  std::string target = Path("CONFIG.DAT");
  Put(target, "old content that is longer");
  chmod(target.c_str(), 0640);
  ReplacingFile file;
  ASSERT_TRUE(file.Open(target));
  ASSERT_TRUE(file.Write("new"));
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(Content(target), "new");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
  EXPECT_EQ(Entries(), 1u);  // no temporary file left behind
}

TEST_F(ReplacingFileTest, UncommittedFileLeavesTheOldOneAlone) {
  std::string target = Path("CONFIG.DAT");
  Put(target, "old");
  {
    ReplacingFile file;
    ASSERT_TRUE(file.Open(target));
    ASSERT_TRUE(file.Write("half"));
  }
  EXPECT_EQ(Content(target), "old");
  EXPECT_EQ(Entries(), 1u);
}

// A full disk, simulated with a file size limit: the write fails, and neither the old
// file nor the directory shows a trace of the attempt.
TEST_F(ReplacingFileTest, FailedWriteLeavesTheOldFileIntact) {
  std::string target = Path("CONFIG.DAT");
  Put(target, "old");
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 8;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  ReplacingFile file;
  bool opened = file.Open(target);
  bool written = file.Write(std::string(100, 'x'));
  bool committed = file.Commit();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous_handler);

  EXPECT_TRUE(opened);
  EXPECT_FALSE(written);
  EXPECT_FALSE(committed);
  EXPECT_FALSE(file.error().empty());
  EXPECT_EQ(Content(target), "old");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(ReplacingFileTest, FailsWhereNoFileCanBeCreated) {
  ReplacingFile file;
  EXPECT_FALSE(file.Open(Path("missing/CONFIG.DAT")));
  EXPECT_FALSE(file.Write("x"));
  EXPECT_FALSE(file.Commit());

  // A directory cannot be replaced by a file; it stays as it was.
  fs::create_directory(Path("taken"));
  ReplacingFile over_directory;
  ASSERT_TRUE(over_directory.Open(Path("taken")));
  ASSERT_TRUE(over_directory.Write("x"));
  EXPECT_FALSE(over_directory.Commit());
  EXPECT_TRUE(fs::is_directory(Path("taken")));
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(ReplacingFileTest, WritesThroughASymbolicLink) {
  std::string real = Path("real.dat");
  Put(real, "old");
  fs::create_symlink(real, Path("link.dat"));
  ReplacingFile file;
  ASSERT_TRUE(file.Open(Path("link.dat")));
  ASSERT_TRUE(file.Write("new"));
  ASSERT_TRUE(file.Commit());
  EXPECT_TRUE(fs::is_symlink(Path("link.dat")));
  EXPECT_EQ(Content(real), "new");
}

TEST_F(ReplacingFileTest, ReadFileStartReadsAtMostTheBytesAsked) {
  Put(Path("a"), "0123456789");
  EXPECT_EQ(ReadFileStart(Path("a"), 4), "0123");
  EXPECT_EQ(ReadFileStart(Path("a"), 100), "0123456789");
  EXPECT_EQ(ReadFileStart(Path("none"), 4), std::nullopt);
  EXPECT_EQ(ReadFileStart(dir_.string(), 4), std::nullopt);
  EXPECT_TRUE(PathExists(Path("a")));
  EXPECT_FALSE(PathExists(Path("none")));
}

}  // namespace
}  // namespace pelgar::platform
