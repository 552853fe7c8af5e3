#pragma once

#include <condition_variable>
#include <cstdint>
#include <iosfwd>
#include <mutex>
#include <optional>
#include <string>

#include "cli/ReaderJob.h"
#include "firmware/FirmwareImage.h"

namespace pelgar::cli {

// A firmware file as flash sends it to every reader, read once before any is claimed.
struct FirmwarePlan {
  firmware::FirmwareImage image{};
  std::string revision;
};

// The file at `path` loaded and checked for a revision and a family this program can flash;
// nothing, with `why`, otherwise.
std::optional<FirmwarePlan> LoadFirmware(const std::string& path, std::string* why);

// Where the update asks for the reader to be unplugged and plugged in again, the readers
// that ask wait for a line of standard input; one line lets every reader waiting at that
// moment go on. At the end of the input (a script's /dev/null) nobody waits.
class PowerCycleGate {
 public:
  explicit PowerCycleGate(std::istream& in) : in_(in) {}
  void Wait();

 private:
  std::istream& in_;
  std::mutex mutex_;
  std::condition_variable changed_;
  uint64_t lines_ = 0;
  bool reading_ = false;
  bool ended_ = false;
};

// The update window's firmware update, for one reader: revisions, ISP steps and read-back.
// A file of the same or an older revision than the reader's is refused unless `force`.
void RunFlash(ReaderJob& job, const FirmwarePlan& plan, bool force, PowerCycleGate& gate);

}  // namespace pelgar::cli
