#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace pelgar::e2e {

// A program started with its standard output and error going to files, so that a test
// can read what it printed, and with extra environment variables.
class Subprocess {
 public:
  using Environment = std::vector<std::pair<std::string, std::string>>;

  Subprocess(std::vector<std::string> argv, const Environment& extra_env,
             const std::string& output_dir);
  ~Subprocess();
  Subprocess(const Subprocess&) = delete;
  Subprocess& operator=(const Subprocess&) = delete;

  bool started() const { return pid_ > 0; }
  // Waits up to `timeout_ms` real milliseconds; on time-out kills the program and returns
  // -1. Otherwise the exit status, or 128 + signal.
  int Wait(int timeout_ms);
  // SIGTERM, then Wait.
  int Stop(int timeout_ms);
  std::string Output() const;
  std::string Errors() const;

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  std::string out_path_;
  std::string err_path_;
};

}  // namespace pelgar::e2e
