#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>

#include "tests/platform/ReplacingFileCases.h"

namespace pelgar::platform {
namespace {

namespace fs = std::filesystem;

// Permissions hold only for a user who is not root: a test that runs as root takes on
// nobody for them.
constexpr uid_t kNobody = 65534;
const bool kRoot = geteuid() == 0;
const uid_t kUser = kRoot ? kNobody : geteuid();
const gid_t kGroup = kRoot ? kNobody : getegid();

// `body`'s result as the user above: in a child process when the test runs as root, else
// here. Nothing when that user cannot be taken on.
std::optional<bool> AsUser(const std::function<bool()>& body) {
  if (!kRoot) return body();
  pid_t child = fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(kGroup) != 0 || setuid(kUser) != 0) _exit(2);
    _exit(body() ? 0 : 1);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 2) {
    return std::nullopt;
  }
  return WEXITSTATUS(status) == 0;
}

// The folder and the file belong to the user that AsUser takes on.
class PosixReplacingFileTest : public ReplacingFileTest {
 protected:
  void SetUp() override {
    ReplacingFileTest::SetUp();
    ASSERT_EQ(chown(dir_.root.c_str(), kUser, kGroup) | chown(target_.c_str(), kUser, kGroup), 0);
  }
};

TEST_F(PosixReplacingFileTest, ReplacementKeepsModeOwnerAndLinks) {
  chmod(target_.c_str(), 0640);
  fs::create_symlink(target_, dir_ / "link.dat");
  struct stat before;
  ASSERT_EQ(stat(target_.c_str(), &before), 0);
  ReplacingFile file;
  ASSERT_TRUE(file.Open(dir_ / "link.dat") && file.Write("new") && file.Commit());
  EXPECT_FALSE(file.in_place());
  EXPECT_EQ(State(), "new 2");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.dat"));
  EXPECT_EQ(fs::status(target_).permissions(), fs::perms(0640));
  struct stat after;
  ASSERT_EQ(stat(target_.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);  // replaced, not rewritten
  EXPECT_EQ(std::to_string(after.st_uid) + ":" + std::to_string(after.st_gid),
            std::to_string(kUser) + ":" + std::to_string(kGroup));
  // A link, relative, to a file not there yet: the file is created and the link stays.
  fs::create_symlink("fresh.dat", dir_ / "dangling");
  EXPECT_TRUE(Save(dir_ / "dangling", "fresh"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "dangling"));
  EXPECT_EQ(ReadFileStart(dir_ / "fresh.dat", 10), "fresh");
}

// Only a regular file is read, and a pipe with no writer or a device is refused at once
// instead of waiting for ever; each refusal says why.
TEST_F(PosixReplacingFileTest, ReadsOnlyRegularFilesAndSaysWhyNot) {
  ASSERT_EQ(mkfifo((dir_ / "pipe.dat").c_str(), 0600), 0);
  dir_.Put("secret.dat", "x");
  chmod((dir_ / "secret.dat").c_str(), 0);
  for (const char* name : {"pipe.dat", "secret.dat"}) chown((dir_ / name).c_str(), kUser, kGroup);
  const std::pair<std::string, const char*> kCases[] = {
      {dir_ / "none", kNoSuchFile},    {dir_ / "none/deeper", kNoSuchFile},
      {dir_.root, kIsAFolder},         {dir_ / "pipe.dat", kNotARegularFile},
      {"/dev/null", kNotARegularFile}, {dir_ / "secret.dat", kPermissionDenied},
  };
  for (const auto& [path, reason] : kCases) {
    const auto read = [&path = path, reason = reason] {
      std::string why;
      return !ReadFileStart(path, 4, &why) && why == reason;
    };
    EXPECT_NE(AsUser(read), std::optional<bool>(false)) << path;
  }
}

// A full disk, simulated with a file size limit.
TEST_F(PosixReplacingFileTest, FailedWriteLeavesTheOldFileIntact) {
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

// A read-only file, and anything that is not a regular file, is refused and left as it is;
// root may write a read-only file, as with any program.
TEST_F(PosixReplacingFileTest, RefusesWhatMayNotBeWrittenAndLeavesItAsItIs) {
  chmod(target_.c_str(), 0444);
  const std::string pipe = dir_ / "pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
  const std::optional<bool> refused = AsUser([&] {
    ReplacingFile file;
    return !file.Open(target_) && !file.error().empty() && !Save(pipe, "x");
  });
  if (!refused) GTEST_SKIP() << "cannot run as an unprivileged user";
  EXPECT_TRUE(*refused);
  EXPECT_EQ(State(), "old 2");
  EXPECT_TRUE(fs::is_fifo(pipe));
  if (kRoot) {
    EXPECT_TRUE(Save(target_, "new"));
    EXPECT_EQ(State(), "new 2");
  }
}

// Where a replacement could not be the same file, the file is rewritten: in a folder that
// takes no new files, and (root can make one) a shared file that belongs to someone else.
TEST_F(PosixReplacingFileTest, RewritesInPlaceWhereAReplacementWouldNotBeTheSameFile) {
  chmod(dir_.root.c_str(), 0555);
  const std::optional<bool> rewritten = AsUser([&] {
    ReplacingFile file;
    return file.Open(target_) && file.in_place() && file.Write("new") && file.Commit() &&
           !Save(dir_ / "other.dat", "x");
  });
  chmod(dir_.root.c_str(), 0755);
  if (!rewritten) GTEST_SKIP() << "cannot run as an unprivileged user";
  EXPECT_TRUE(*rewritten);
  EXPECT_EQ(State(), "new 1");
  if (kRoot) {
    ASSERT_EQ(chown(target_.c_str(), 0, 0) | chmod(target_.c_str(), 0666), 0);
    EXPECT_EQ(AsUser([&] { return Save(target_, "shared"); }), true);
    struct stat info;
    ASSERT_EQ(stat(target_.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
    EXPECT_EQ(ReadFileStart(target_, 10), "shared");
  }
}

}  // namespace
}  // namespace pelgar::platform
