#pragma once

#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace pelgar::cli {

// A field the reader stores otherwise than the file says, both in the file's escaped form.
struct Difference {
  std::string field;
  std::string file;
  std::string reader;
};

enum class Outcome { kOk, kFailed, kDifferent };

// How one reader's command ended.
struct ReaderReport {
  std::string port;    // as given: COM3, /dev/ttyUSB0
  std::string device;  // what it opens
  Outcome outcome = Outcome::kOk;
  std::string summary;  // one line for people
  std::string error;    // why it failed
  std::vector<Difference> differences;
  // The command's own fields for the JSON output, in the order they are set.
  nlohmann::ordered_json data = nlohmann::ordered_json::object();
  // What "get" writes to standard output.
  std::string document;

  void Fail(std::string why) {
    outcome = Outcome::kFailed;
    if (error.empty()) error = std::move(why);
  }
  bool failed() const { return outcome == Outcome::kFailed; }
};

// Where a reader's job is: read by the display while the job's own thread writes it.
class ReaderStatus {
 public:
  struct View {
    std::string step;
    int percent = -1;  // -1: no progress to show
    bool done = false;
  };

  void Step(std::string_view step) {
    const std::lock_guard<std::mutex> lock(mutex_);
    view_.step = step;
    view_.percent = -1;
  }
  void Percent(int percent) {
    const std::lock_guard<std::mutex> lock(mutex_);
    view_.percent = percent;
  }
  void Done() {
    const std::lock_guard<std::mutex> lock(mutex_);
    view_.done = true;
  }
  View Get() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return view_;
  }

 private:
  mutable std::mutex mutex_;
  View view_;
};

}  // namespace pelgar::cli
