#include "platform/posix/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace pelgar::platform {
namespace {

constexpr int kNameAttempts = 100;

std::string Directory(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

ReplacingFile::~ReplacingFile() { Discard(); }

bool ReplacingFile::Fail(const std::string& what, int error_number) {
  error_ = what + ": " + std::strerror(error_number);
  failed_ = true;
  Discard();
  return false;
}

void ReplacingFile::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

bool ReplacingFile::Open(const std::string& path) {
  Discard();
  failed_ = false;
  error_.clear();
  target_ = path;
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) target_ = resolved;
  }
  // Created with the usual 0666 less the umask; an existing file's mode is kept below.
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::string name = target_ + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    fd_ = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temporary_ = name;
      break;
    }
    if (errno != EEXIST) return Fail(target_, errno);
  }
  if (fd_ < 0) return Fail(target_, EEXIST);
  if (stat(target_.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    if (fchmod(fd_, info.st_mode & 07777) != 0) return Fail(temporary_, errno);
  }
  return true;
}

bool ReplacingFile::Write(std::string_view bytes) {
  if (fd_ < 0 || failed_) return false;
  while (!bytes.empty()) {
    ssize_t written = write(fd_, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return Fail(temporary_, written < 0 ? errno : EIO);
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

bool ReplacingFile::Commit() {
  if (fd_ < 0 || failed_) return false;
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

}  // namespace pelgar::platform
