#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace pelgar::platform {

class ReplacingFileState;

// Writes a file so that its previous content survives every failure where the file allows
// it: the new content goes to a temporary file beside the target, which replaces the target
// only after every write, the flush to disk and the close have succeeded. A file that is not
// committed is removed again when this object goes away.
//
// The replacement stays the file the user had: a link is followed and the file it names is
// written, and the replaced file keeps its permissions and owner. Where a replacement cannot
// be that file, or the folder takes no new files although the file itself may be written,
// the target is rewritten in place instead, checked and flushed to disk.
//
// Each system implements the files' side in its own folder (platform/posix/,
// platform/win32/), behind an opaque state, so that callers never see a file descriptor or a
// handle.
class ReplacingFile {
 public:
  ReplacingFile();
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Prepares to write `path`, creating nothing but the temporary file. Fails, leaving the
  // target as it is, when the target exists but may not be opened for writing (the same
  // check that opening it would make, so an administrator may write a read-only file) or is
  // not a regular file, and when a new file cannot be created there.
  bool Open(const std::string& path);
  bool Write(std::string_view bytes);
  bool Commit();

  // The new content goes straight into the target when Commit runs.
  bool in_place() const;
  // Why the last operation failed, one line for standard error.
  const std::string& error() const;

 private:
  std::unique_ptr<ReplacingFileState> state_;
};

}  // namespace pelgar::platform
