#include "sim/posix/StateWriter.h"

#include <iostream>
#include <utility>

#include "sim/StateFile.h"

namespace pelgar::sim {

StateWriter::StateWriter(std::string path, std::string saved)
    : path_(std::move(path)), offered_(std::move(saved)) {
  if (!path_.empty()) thread_ = std::thread([this] { Run(); });
}

StateWriter::~StateWriter() { Finish(); }

void StateWriter::Offer(std::string text) {
  if (path_.empty() || text == offered_) return;
  offered_ = text;
  {
    std::lock_guard lock(mutex_);
    if (finishing_) return;
    pending_ = std::move(text);
  }
  wake_.notify_one();
}

void StateWriter::Finish() {
  {
    std::lock_guard lock(mutex_);
    finishing_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void StateWriter::Run() {
  std::string last_error;
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return pending_ || finishing_; });
    if (!pending_) return;  // finishing, and nothing is left to write
    const std::string text = std::exchange(pending_, std::nullopt).value();
    lock.unlock();
    std::string error;
    // One line per new failure: a full disk would otherwise repeat it for every frame.
    if (StateFile::Write(path_, text, &error)) {
      last_error.clear();
    } else if (error != last_error) {
      std::cerr << "pelgar-sim: " << error << std::endl;
      last_error = error;
    }
    lock.lock();
  }
}

}  // namespace pelgar::sim
