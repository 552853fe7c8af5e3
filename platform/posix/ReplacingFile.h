#pragma once

#include <string>
#include <string_view>

namespace pelgar::platform {

// Writes a file so that its previous content survives every failure: the new content goes
// to a temporary file beside the target, which replaces the target (one rename) only
// after every write, the flush to disk and the close have succeeded. A file that is not
// committed is removed again when this object goes away.
class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file beside `path`. A symbolic link is followed, so that the
  // file it names is replaced and the link stays.
  bool Open(const std::string& path);
  bool Write(std::string_view bytes);
  bool Commit();

  // Why the last operation failed, one line for standard error.
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& what, int error_number);
  void Discard();

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  bool failed_ = false;
  std::string error_;
};

}  // namespace pelgar::platform
