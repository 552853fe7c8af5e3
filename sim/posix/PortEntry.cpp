#include "sim/posix/PortEntry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/PortNames.h"

namespace pelgar::sim {
namespace {

constexpr std::string_view kPtyDirectory = "/dev/pts/";

bool ReadLink(const std::string& path, std::string* target) {
  char buffer[4096];
  ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
  if (n < 0) return false;
  target->assign(buffer, static_cast<size_t>(n));
  return true;
}

bool MakeDirectories(const std::string& path, std::string* error) {
  size_t slash = 0;
  do {
    slash = path.find('/', slash + 1);
    std::string part = path.substr(0, slash);
    // Only the user's: whoever may write here chooses the device behind a port name.
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      *error = part + ": " + std::strerror(errno);
      return false;
    }
  } while (slash != std::string::npos);
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    *error = path + ": not a directory";
    return false;
  }
  return true;
}

// The names the program maps: COM followed by a number.
bool IsPortName(const std::string& name) {
  if (name.size() < 4 || name.size() > 11 || name.compare(0, 3, "COM") != 0) return false;
  for (size_t i = 3; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
  }
  return name[3] != '0';
}

}  // namespace

bool CreatePortEntry(const std::string& port_name, const std::string& device, std::string* entry,
                     std::string* error) {
  if (!IsPortName(port_name)) {
    *error = "\"" + port_name + "\" is not a port name such as COM3";
    return false;
  }
  const std::string directory = platform::PortDirectory();
  if (directory.empty() || !MakeDirectories(directory, error)) {
    if (directory.empty()) {
      *error = "no port directory: set PELGAR_PORT_DIR (or XDG_CONFIG_HOME, or HOME)";
    }
    return false;
  }
  const std::string path = directory + "/" + port_name;
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0) {
    std::string target;
    if (!S_ISLNK(info.st_mode) || !ReadLink(path, &target) ||
        target.compare(0, kPtyDirectory.size(), kPtyDirectory) != 0) {
      *error = path + " exists and is not a simulator's link; remove it or choose another port";
      return false;
    }
  }
  // A new link renamed over the old one: the entry never goes missing in between.
  const std::string temporary = path + ".pelgar-sim." + std::to_string(::getpid());
  ::unlink(temporary.c_str());
  if (::symlink(device.c_str(), temporary.c_str()) != 0) {
    *error = temporary + ": " + std::strerror(errno);
    return false;
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    *error = path + ": " + std::strerror(errno);
    ::unlink(temporary.c_str());
    return false;
  }
  *entry = path;
  return true;
}

void RemovePortEntry(const std::string& entry, const std::string& device) {
  std::string target;
  if (ReadLink(entry, &target) && target == device) ::unlink(entry.c_str());
}

}  // namespace pelgar::sim
