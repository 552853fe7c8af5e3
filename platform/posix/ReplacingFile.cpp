#include "platform/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

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
class ReplacingFile::State {
 public:
  ~State();

  bool Open(const std::string& path);
  bool Write(std::string_view bytes);
  bool Commit();

  bool in_place() const { return in_place_; }
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& what, int error_number);
  bool CreateTemporary();
  bool CommitInPlace();
  void Discard();

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  bool in_place_ = false;
  // In place, the content is kept until Commit, so that nothing is cut before it is known.
  std::string pending_;
  bool failed_ = false;
  std::string error_;
};

ReplacingFile::State::~State() { Discard(); }

bool ReplacingFile::State::Fail(const std::string& what, int error_number) {
  error_ = what + ": " + std::strerror(error_number);
  failed_ = true;
  Discard();
  return false;
}

void ReplacingFile::State::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
  pending_.clear();
}

bool ReplacingFile::State::Open(const std::string& path) {
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

bool ReplacingFile::State::CreateTemporary() {
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

bool ReplacingFile::State::Write(std::string_view bytes) {
  if (fd_ < 0 || failed_) return false;
  if (in_place_) {
    pending_.append(bytes);
    return true;
  }
  int error_number = 0;
  if (!WriteAll(fd_, bytes, &error_number)) return Fail(temporary_, error_number);
  return true;
}

bool ReplacingFile::State::Commit() {
  if (fd_ < 0 || failed_) return false;
  if (in_place_) return CommitInPlace();
  if (fsync(fd_) != 0) return Fail(temporary_, errno);
  int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) return Fail(temporary_, errno);
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

bool ReplacingFile::State::CommitInPlace() {
  // Cut first, then write: a write that fails leaves a short file, which no reader takes
  // for a whole one, rather than new lines followed by old ones.
  int error_number = 0;
  if (ftruncate(fd_, 0) != 0 || lseek(fd_, 0, SEEK_SET) != 0) return Fail(target_, errno);
  if (!WriteAll(fd_, pending_, &error_number)) return Fail(target_, error_number);
  if (fsync(fd_) != 0) return Fail(target_, errno);
  int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) return Fail(target_, errno);
  pending_.clear();
  return true;
}

ReplacingFile::ReplacingFile() : state_(std::make_unique<State>()) {}
ReplacingFile::~ReplacingFile() = default;

bool ReplacingFile::Open(const std::string& path) { return state_->Open(path); }
bool ReplacingFile::Write(std::string_view bytes) { return state_->Write(bytes); }
bool ReplacingFile::Commit() { return state_->Commit(); }
bool ReplacingFile::in_place() const { return state_->in_place(); }
const std::string& ReplacingFile::error() const { return state_->error(); }

}  // namespace pelgar::platform
