#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/ReplacingFileState.h"

namespace pelgar::platform {
namespace {

constexpr int kNameAttempts = 100;
// As many links as the system itself follows before it gives up with ELOOP.
constexpr int kMaxLinkHops = 40;

std::string Directory(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file that `path` names once every symbolic link is followed. A link to a file that
// does not exist yet names the file to create, as opening it for writing would.
bool FollowLinks(std::string path, std::string* target) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      *target = path;
      return true;
    }
    std::vector<char> link(PATH_MAX);
    ssize_t length = readlink(path.c_str(), link.data(), link.size());
    if (length < 0) return false;
    if (static_cast<size_t>(length) == link.size()) {
      errno = ENAMETOOLONG;
      return false;
    }
    std::string next(link.data(), static_cast<size_t>(length));
    path = next.starts_with('/') ? next : Directory(path).append("/").append(next);
  }
  errno = ELOOP;
  return false;
}

bool WriteAll(int fd, std::string_view bytes, int* error_number) {
  while (!bytes.empty()) {
    ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      *error_number = written < 0 ? errno : EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

// The POSIX side of ReplacingFile: the target is the file every symbolic link leads to; a
// replacement keeps the target's permission bits, owner and group, and the target is
// rewritten in place when it has further hard links, when its owner or group cannot be kept,
// and when its folder takes no new files.
class PosixReplacingFile : public ReplacingFileState {
 public:
  ~PosixReplacingFile() override { Discard(); }

  bool Open(const std::string& path) override;

 private:
  bool IsOpen() const override { return fd_ >= 0; }
  bool WriteOpenFile(std::string_view bytes) override;
  bool CutTarget() override;
  bool FlushAndClose() override;
  bool MoveIntoPlace() override;

  bool Fail(const std::string& what, int error_number);
  bool CreateTemporary();
  void Discard();
  const std::string& OpenName() const { return in_place_ ? target_ : temporary_; }

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
};

bool PosixReplacingFile::Fail(const std::string& what, int error_number) {
  error_ = what + ": " + std::strerror(error_number);
  failed_ = true;
  Discard();
  return false;
}

void PosixReplacingFile::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
  pending_.clear();
}
bool PosixReplacingFile::Open(const std::string& path) {
  Discard();
  failed_ = false;
  in_place_ = false;
  error_.clear();
  if (!FollowLinks(path, &target_)) return Fail(path, errno);

  // Opening the target for writing is the check: it refuses a read-only file to a user and
  // lets root through, as any program's save would. Nothing is cut yet. O_NONBLOCK keeps a
  // pipe without a reader from blocking here; it is refused below like any other non-file.
  int existing = open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (existing < 0) {
    if (errno != ENOENT) return Fail(target_, errno);
    // A new file: it exists only once the temporary file is renamed to it.
    return CreateTemporary() || Fail(target_, errno);
  }
  struct stat info;
  if (fstat(existing, &info) != 0) {
    const int error_number = errno;
    close(existing);
    return Fail(target_, error_number);
  }
  if (!S_ISREG(info.st_mode)) {
    close(existing);
    error_ = target_ + ": not a regular file";
    failed_ = true;
    return false;
  }
  // A rename would give this name a new file and leave the other names of a hard-linked
  // file with the old content: the names would no longer be one file.
  const bool replaceable = info.st_nlink <= 1;
  if (replaceable && !CreateTemporary() && errno != EACCES && errno != EPERM) {
    // Out of room or worse: cutting the file now could lose it, so it stays as it is.
    const int error_number = errno;
    close(existing);
    return Fail(target_, error_number);
  }
  if (fd_ >= 0) {
    // The owner can be kept only by root; the group by an owner who belongs to it.
    if (fchown(fd_, info.st_uid, info.st_gid) != 0) {
      [[maybe_unused]] int ignored = fchown(fd_, static_cast<uid_t>(-1), info.st_gid);
    }
    // After the owner, since a change of owner clears the set-id bits.
    struct stat made;
    if (fchmod(fd_, info.st_mode & 07777) == 0 && fstat(fd_, &made) == 0 &&
        made.st_uid == info.st_uid && made.st_gid == info.st_gid) {
      close(existing);
      return true;
    }
    // A replacement owned by someone else could lock the owner out of their own file (a
    // shared, group-writable file would become this user's): the file is rewritten instead.
    Discard();
  }
  // A folder that takes no new files although the file may be written, or a replacement
  // that could not be the same file: the file itself is rewritten, every step checked.
  fd_ = existing;
  in_place_ = true;
  return true;
}

bool PosixReplacingFile::CreateTemporary() {
  // Created with the usual 0666 less the umask; an existing file's mode is set by Open.
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = target_ + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    fd_ = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temporary_ = name;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool PosixReplacingFile::WriteOpenFile(std::string_view bytes) {
  int error_number = 0;
  return WriteAll(fd_, bytes, &error_number) || Fail(OpenName(), error_number);
}

bool PosixReplacingFile::CutTarget() {
  return (ftruncate(fd_, 0) == 0 && lseek(fd_, 0, SEEK_SET) == 0) || Fail(target_, errno);
}

bool PosixReplacingFile::FlushAndClose() {
  if (fsync(fd_) != 0) return Fail(OpenName(), errno);
  int fd = fd_;
  fd_ = -1;
  return close(fd) == 0 || Fail(OpenName(), errno);
}

bool PosixReplacingFile::MoveIntoPlace() {
  if (rename(temporary_.c_str(), target_.c_str()) != 0) return Fail(target_, errno);
  temporary_.clear();
  // Make the rename itself durable; the content is already in place if this fails.
  int dir = open(Directory(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return true;
}

ReplacingFile::ReplacingFile() : state_(std::make_unique<PosixReplacingFile>()) {}

}  // namespace pelgar::platform
