#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pelgar::platform {

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

std::optional<std::string> ReadFileStart(const std::string& path, size_t max_bytes) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info;
  // A directory opens, but it is not a file to read.
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
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
