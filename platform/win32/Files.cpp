#include "platform/Files.h"

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX 1  // as libstdc++ defines it, so that either may come first
#include <windows.h>

#include <algorithm>

#include "platform/win32/Win32Text.h"

namespace pelgar::platform {
namespace {

// Missing, or a folder on the way missing: either way there is nothing there yet.
bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool PathExists(const std::string& path) {
  const std::wstring wide = WidePath(path);
  return !wide.empty() && GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

PathKind KindOfPath(const std::string& path, std::string* why) {
  if (path.empty()) return PathKind::kNothing;  // as on POSIX systems: no such file
  const std::wstring wide = WidePath(path);
  if (wide.empty()) {
    *why = SystemMessage(ERROR_INVALID_NAME);
    return PathKind::kUnknown;
  }
  // A device name is answered without looking at the device: that would open it.
  if (IsDevicePath(wide)) return PathKind::kOther;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (IsMissing(error)) return PathKind::kNothing;
    *why = SystemMessage(error);
    return PathKind::kUnknown;
  }
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0
             ? PathKind::kRegularFile
             : PathKind::kOther;
}

std::optional<std::string> ReadFileStart(const std::string& path, size_t max_bytes,
                                         std::string* why) {
  std::string reason;
  if (why == nullptr) why = &reason;
  const std::wstring wide = WidePath(path);
  if (wide.empty()) {
    *why = path.empty() ? kNoSuchFile : SystemMessage(ERROR_INVALID_NAME);
    return std::nullopt;
  }
  // A console or a port would wait for input: only files on a disk are read.
  if (IsDevicePath(wide)) {
    *why = kNotARegularFile;
    return std::nullopt;
  }
  // Others may go on reading, writing or replacing the file meanwhile, as with POSIX files.
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A folder does not open this way; the system calls that a refused access.
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      *why = kIsAFolder;
    } else if (IsMissing(error)) {
      *why = kNoSuchFile;
    } else if (error == ERROR_ACCESS_DENIED) {
      *why = kPermissionDenied;
    } else {
      *why = SystemMessage(error);
    }
    return std::nullopt;
  }
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    *why = kNotARegularFile;
    return std::nullopt;
  }
  std::string content(max_bytes, '\0');
  size_t filled = 0;
  while (filled < max_bytes) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(max_bytes - filled, DWORD{1} << 30));
    DWORD got = 0;
    if (!::ReadFile(file, content.data() + filled, chunk, &got, nullptr) || got == 0) break;
    filled += got;
  }
  CloseHandle(file);
  content.resize(filled);
  return content;
}

}  // namespace pelgar::platform
