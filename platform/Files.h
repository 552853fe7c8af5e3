#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace pelgar::platform {

// Reading files by the program's own rules, the same on every system; each implements these
// in its own folder (platform/posix/, platform/win32/). Writing goes through ReplacingFile.

// True when something exists at `path` (a file the program may then try to open).
bool PathExists(const std::string& path);

// What a path names, for a reader that tells a first run (nothing there yet) from a file it
// cannot use.
enum class PathKind {
  kNothing,      // nothing exists there
  kRegularFile,  // a file to read
  kOther,        // a folder, a device, a pipe
  kUnknown,      // cannot be looked at, a folder on the way refusing the search for one
};
// `why` gets the system's one-line reason when the answer is kUnknown.
PathKind KindOfPath(const std::string& path, std::string* why);

// Why a file cannot be read, in the words ReadFileStart gives (the system's own text for
// anything else).
inline constexpr const char* kNoSuchFile = "no such file";
inline constexpr const char* kIsAFolder = "is a folder";
inline constexpr const char* kNotARegularFile = "not a regular file";
inline constexpr const char* kPermissionDenied = "permission denied";

// The first `max_bytes` bytes of a regular file, or nothing when it cannot be opened or is
// no regular file; `why`, when given, then gets the reason. Only a file on a disk is read:
// a pipe, a terminal or a device such as NUL could keep the program waiting for ever, so
// it is refused without waiting. A read error ends the content early, as the end of the
// file would.
std::optional<std::string> ReadFileStart(const std::string& path, size_t max_bytes,
                                         std::string* why = nullptr);

}  // namespace pelgar::platform
