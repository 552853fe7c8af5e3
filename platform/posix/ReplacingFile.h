#pragma once

#include <string>
#include <string_view>

namespace pelgar::platform {

// Writes a file so that its previous content survives every failure where the file allows
// it: the new content goes to a temporary file beside the target, which replaces the target
// (one rename) only after every write, the flush to disk and the close have succeeded. A
// file that is not committed is removed again when this object goes away.
//
// The replacement stays the file the user had: a symbolic link is followed and the file it
// names is written; the replaced file keeps its permission bits, owner and group. Where a
// replacement cannot be that file, the target is rewritten in place instead, checked and
// flushed to disk: when it has further hard links, when its owner or group cannot be kept,
// and when its folder takes no new files although the file itself may be written.
class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Prepares to write `path`, creating nothing but the temporary file. Fails, leaving the
  // target as it is, when the target exists but may not be opened for writing (the same
  // check that opening it would make, so root may write a read-only file) or is not a
  // regular file, and when a new file cannot be created there.
  bool Open(const std::string& path);
  bool Write(std::string_view bytes);
  bool Commit();

  // The new content goes straight into the target when Commit runs.
  bool in_place() const { return in_place_; }
  // Why the last operation failed, one line for standard error.
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

}  // namespace pelgar::platform
