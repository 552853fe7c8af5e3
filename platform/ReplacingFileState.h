#pragma once

#include <string>
#include <string_view>

namespace pelgar::platform {

// What ReplacingFile does the same on every system: how the content is buffered and in
// which order a commit goes. Each system (platform/posix/, platform/win32/) derives its state
// from this one and supplies the operations on its files; nothing else includes this header.
class ReplacingFileState {
 public:
  virtual ~ReplacingFileState() = default;

  virtual bool Open(const std::string& path) = 0;
  bool Write(std::string_view bytes);
  bool Commit();

  bool in_place() const { return in_place_; }
  const std::string& error() const { return error_; }

 protected:
  // The system's operations on the open file: the temporary file, or the target itself when
  // it is rewritten in place. Each one that fails sets error_ and failed_ and discards
  // what it had.
  virtual bool IsOpen() const = 0;
  virtual bool WriteOpenFile(std::string_view bytes) = 0;
  virtual bool CutTarget() = 0;      // in place: the target emptied, writing from its start
  virtual bool FlushAndClose() = 0;  // the open file's content on disk, then the file closed
  virtual bool MoveIntoPlace() = 0;  // the closed temporary file becomes the target

  bool in_place_ = false;
  // In place, the content is kept until Commit, so that nothing is cut before it is known.
  std::string pending_;
  bool failed_ = false;
  std::string error_;
};

}  // namespace pelgar::platform
