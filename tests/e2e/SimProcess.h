#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace pelgar::e2e {

// pelgar-sim as a child process, with its own port directory and time scale. Its
// standard output and error go to files beside the port directory.
class SimProcess {
 public:
  // `work_dir` holds the port directory ("ports") and the output files.
  SimProcess(std::string work_dir, double time_scale);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Starts pelgar-sim with `args` and waits until it says where its port is. False when
  // it ended instead (see exit_status()) or did not get ready in time.
  bool Start(const std::vector<std::string>& args);
  // SIGTERM, then waits for the end. The exit status, or -1 when it had to be killed.
  int Stop();
  // How the last run ended: its exit status, 128 + signal, or -1 when killed.
  int exit_status() const { return exit_status_; }

  std::string PortDir() const { return work_dir_ + "/ports"; }
  std::string Output() const;
  std::string Errors() const;

 private:
  int Reap(int timeout_ms);

  std::string work_dir_;
  double time_scale_;
  pid_t pid_ = -1;
  int exit_status_ = -1;
};

}  // namespace pelgar::e2e
