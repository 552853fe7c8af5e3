#include "platform/ReplacingFile.h"

#include "platform/ReplacingFileState.h"

namespace pelgar::platform {

bool ReplacingFileState::Write(std::string_view bytes) {
  if (!IsOpen() || failed_) return false;
  if (in_place_) {
    pending_.append(bytes);
    return true;
  }
  return WriteOpenFile(bytes);
}

bool ReplacingFileState::Commit() {
  if (!IsOpen() || failed_) return false;
  if (!in_place_) return FlushAndClose() && MoveIntoPlace();
  // Cut first, then write: a write that fails leaves a short file, which no reader takes
  // for a whole one, rather than new lines followed by old ones.
  if (!CutTarget() || !WriteOpenFile(pending_) || !FlushAndClose()) return false;
  pending_.clear();
  return true;
}

ReplacingFile::~ReplacingFile() = default;

bool ReplacingFile::Open(const std::string& path) { return state_->Open(path); }
bool ReplacingFile::Write(std::string_view bytes) { return state_->Write(bytes); }
bool ReplacingFile::Commit() { return state_->Commit(); }
bool ReplacingFile::in_place() const { return state_->in_place(); }
const std::string& ReplacingFile::error() const { return state_->error(); }

}  // namespace pelgar::platform
