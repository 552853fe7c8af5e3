#include "platform/ReplacingFile.h"

#include "platform/ReplacingFileState.h"

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX 1  // as libstdc++ defines it, so that either may come first
#include <windows.h>

#include <algorithm>

#include "platform/win32/Win32Text.h"

namespace pelgar::platform {
namespace {

constexpr int kNameAttempts = 100;
constexpr DWORD kMaxTransfer = 1u << 20;

HANDLE Handle(void* handle) { return static_cast<HANDLE>(handle); }

bool WriteAll(HANDLE file, std::string_view bytes, DWORD* error) {
  while (!bytes.empty()) {
    const DWORD asked = static_cast<DWORD>(std::min<size_t>(bytes.size(), kMaxTransfer));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), asked, &written, nullptr) || written == 0) {
      *error = written == 0 && GetLastError() == ERROR_SUCCESS ? ERROR_WRITE_FAULT : GetLastError();
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

// The file a link leads to, as the system names it after following every link on the way.
bool FinalPath(HANDLE file, std::wstring* path) {
  const DWORD needed = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED);
  if (needed == 0) return false;
  std::wstring found(needed, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(file, found.data(), needed, FILE_NAME_NORMALIZED);
  if (length == 0 || length >= needed) return false;
  found.resize(length);
  *path = found;
  return true;
}

// A wide path for an error text, in UTF-8 like the program's own texts.
std::string Narrow(const std::wstring& wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
}

}  // namespace

// The Windows side of ReplacingFile: a replacement keeps the target's attributes and access
// rights (ReplaceFileW), and the target is rewritten in place when it has further hard
// links, when it is a link that cannot be followed to its file, and when its folder takes
// no new files. Content is written byte for byte: the callers write their own line ends.
class Win32ReplacingFile : public ReplacingFileState {
 public:
  ~Win32ReplacingFile() override { Discard(); }

  bool Open(const std::string& path) override;

 private:
  bool IsOpen() const override { return file_ != nullptr; }
  bool WriteOpenFile(std::string_view bytes) override;
  bool CutTarget() override;
  bool FlushAndClose() override;
  bool MoveIntoPlace() override;

  bool Fail(const std::string& what, DWORD error);
  bool Refuse();
  bool CreateTemporary(DWORD* error);
  void Discard();
  const std::string& OpenName() const { return in_place_ ? target_ : temporary_; }

  std::string target_;  // as the caller named it, for error texts
  std::wstring target_wide_;
  std::string temporary_;
  std::wstring temporary_wide_;
  void* file_ = nullptr;  // the temporary file's HANDLE, or the target's in place
  bool existed_ = false;
};

bool Win32ReplacingFile::Fail(const std::string& what, DWORD error) {
  error_ = what + ": " + SystemMessage(error);
  failed_ = true;
  Discard();
  return false;
}

bool Win32ReplacingFile::Refuse() {
  error_ = target_ + ": not a regular file";
  failed_ = true;
  Discard();
  return false;
}

void Win32ReplacingFile::Discard() {
  if (file_ != nullptr) CloseHandle(Handle(file_));
  file_ = nullptr;
  if (!temporary_wide_.empty()) DeleteFileW(temporary_wide_.c_str());
  temporary_wide_.clear();
  temporary_.clear();
  pending_.clear();
}

bool Win32ReplacingFile::Open(const std::string& path) {
  Discard();
  failed_ = false;
  in_place_ = false;
  existed_ = false;
  error_.clear();
  target_ = path;
  target_wide_ = WidePath(path);
  if (target_wide_.empty()) return Fail(path, ERROR_INVALID_NAME);
  // NUL, CON, COM1 and \\.\ names are devices, in any folder; they are not opened at all.
  if (IsDevicePath(target_wide_)) return Refuse();

  DWORD error = ERROR_SUCCESS;
  const DWORD attributes = GetFileAttributesW(target_wide_.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return Fail(target_, error);
    // A new file: it exists only once the temporary file is moved to its name.
    return CreateTemporary(&error) || Fail(target_, error);
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Refuse();
  // Windows refuses to write a read-only file to everyone, administrators too; Wine lets
  // root through, so the attribute is looked at first.
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return Fail(target_, ERROR_ACCESS_DENIED);
  existed_ = true;

  // Opening the target for writing is the check: it refuses a read-only file, as any
  // program's save would, and a file another program holds without sharing. Nothing is cut.
  HANDLE existing = CreateFileW(target_wide_.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing == INVALID_HANDLE_VALUE) return Fail(target_, GetLastError());
  if (GetFileType(existing) != FILE_TYPE_DISK) {
    CloseHandle(existing);
    return Refuse();
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(existing, &info)) {
    error = GetLastError();
    CloseHandle(existing);
    return Fail(target_, error);
  }
  // A replacement would give this name a new file and leave the other names of a
  // hard-linked file with the old content; a link would be replaced by a file. A link is
  // followed to its file, which is then replaced.
  bool replaceable = info.nNumberOfLinks <= 1;
  if (replaceable && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    replaceable = FinalPath(existing, &target_wide_);
  }
  if (replaceable && !CreateTemporary(&error) && error != ERROR_ACCESS_DENIED) {
    // Out of room or worse: cutting the file now could lose it, so it stays as it is.
    CloseHandle(existing);
    return Fail(target_, error);
  }
  if (file_ != nullptr) {
    CloseHandle(existing);  // ReplaceFileW opens the target itself
    return true;
  }
  // A folder that takes no new files although the file may be written, or a replacement
  // that could not be the same file: the file itself is rewritten, every step checked.
  file_ = existing;
  in_place_ = true;
  return true;
}

bool Win32ReplacingFile::CreateTemporary(DWORD* error) {
  const std::wstring prefix =
      target_wide_ + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::wstring name = prefix + std::to_wstring(attempt);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      file_ = file;
      temporary_wide_ = name;
      temporary_ = Narrow(name);
      return true;
    }
    *error = GetLastError();
    if (*error != ERROR_FILE_EXISTS && *error != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

bool Win32ReplacingFile::WriteOpenFile(std::string_view bytes) {
  DWORD error = ERROR_SUCCESS;
  return WriteAll(Handle(file_), bytes, &error) || Fail(OpenName(), error);
}

bool Win32ReplacingFile::CutTarget() {
  HANDLE file = Handle(file_);
  return (SetFilePointer(file, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
          SetEndOfFile(file)) ||
         Fail(target_, GetLastError());
}

bool Win32ReplacingFile::FlushAndClose() {
  HANDLE file = Handle(file_);
  if (!FlushFileBuffers(file)) return Fail(OpenName(), GetLastError());
  file_ = nullptr;
  return CloseHandle(file) || Fail(OpenName(), GetLastError());
}

bool Win32ReplacingFile::MoveIntoPlace() {
  DWORD replace_error = ERROR_SUCCESS;
  if (existed_) {
    // Access rights that cannot be carried over are not worth losing the save: the new file
    // then has its folder's, as a new file would.
    if (ReplaceFileW(target_wide_.c_str(), temporary_wide_.c_str(), nullptr,
                     REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                     nullptr)) {
      temporary_wide_.clear();
      return true;
    }
    replace_error = GetLastError();
  }
  // A new file, or a file system where ReplaceFileW cannot replace: a plain move.
  if (MoveFileExW(temporary_wide_.c_str(), target_wide_.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    temporary_wide_.clear();
    return true;
  }
  const DWORD error = GetLastError();
  if (replace_error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
    // ReplaceFileW removed the old file and could not give the new one its name: the
    // temporary file is the only copy of the content now, so it stays.
    error_ = target_ + ": " + SystemMessage(error) + "; the new content is in " + temporary_;
    failed_ = true;
    temporary_wide_.clear();
    Discard();
    return false;
  }
  return Fail(target_, error);
}

ReplacingFile::ReplacingFile() : state_(std::make_unique<Win32ReplacingFile>()) {}

}  // namespace pelgar::platform
