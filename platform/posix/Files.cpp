#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pelgar::platform {
namespace {

std::string ReasonFor(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return kNoSuchFile;
    case EACCES:
    case EPERM:
      return kPermissionDenied;
    case EISDIR:
      return kIsAFolder;
    default:
      return std::strerror(error);
  }
}

}  // namespace

bool PathExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

PathKind KindOfPath(const std::string& path, std::string* why) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return PathKind::kNothing;
    *why = std::strerror(errno);
    return PathKind::kUnknown;
  }
  return S_ISREG(info.st_mode) ? PathKind::kRegularFile : PathKind::kOther;
}

std::optional<std::string> ReadFileStart(const std::string& path, size_t max_bytes,
                                         std::string* why) {
  std::string reason;
  if (why == nullptr) why = &reason;
  // Without O_NONBLOCK the open of a named pipe waits for a writer that may never come; a
  // terminal must not become the program's controlling one.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    *why = ReasonFor(errno);
    return std::nullopt;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    *why = S_ISDIR(info.st_mode) ? kIsAFolder : kNotARegularFile;
    close(fd);
    return std::nullopt;
  }
  std::string content(max_bytes, '\0');
  size_t filled = 0;
  while (filled < max_bytes) {
    ssize_t got = read(fd, content.data() + filled, max_bytes - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    filled += static_cast<size_t>(got);
  }
  close(fd);
  content.resize(filled);
  return content;
}

}  // namespace pelgar::platform
