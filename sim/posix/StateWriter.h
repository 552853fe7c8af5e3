#pragma once

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace pelgar::sim {

// Keeps pelgar-sim's state file in step with the reader's flash on a thread of its own. A
// save syncs the file and its folder, which a loaded disk may take hundreds of milliseconds
// to do; the replies wait for none of it, since a host gives up on a reply after 500 ms
// (scaled). The reply loop hands over the newest text and goes on; a text that is overtaken
// before the writer gets to it is never written, so the file may skip states but is always
// one of them, whole.
class StateWriter {
 public:
  // `saved` is the text already in the file, if any: it is not written again.
  StateWriter(std::string path, std::string saved);
  // Writes what is still pending, then stops.
  ~StateWriter();
  StateWriter(const StateWriter&) = delete;
  StateWriter& operator=(const StateWriter&) = delete;

  // The flash as it is now; written soon unless it is what the file already holds.
  void Offer(std::string text);
  // Returns once everything offered is on disk (or failed to get there) and the writer has
  // stopped; later offers are dropped.
  void Finish();

 private:
  void Run();

  const std::string path_;
  std::string offered_;  // the reply loop's: the last text handed over
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<std::string> pending_;
  bool finishing_ = false;
  std::thread thread_;
};

}  // namespace pelgar::sim
