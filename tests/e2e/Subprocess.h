#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace pelgar::e2e {

inline std::string ReadFile(const std::string& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

// A program started with this process's environment and its standard output and error
// going to `stem`.out and `stem`.err, so that a test can read what it printed. Stopped,
// if still running, when it goes.
class Subprocess {
 public:
  Subprocess(std::vector<std::string> argv, const std::string& stem)
      : out_path_(stem + ".out"), err_path_(stem + ".err") {
    std::vector<char*> args;
    for (std::string& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    constexpr int kFlags = O_WRONLY | O_CREAT | O_TRUNC;
    posix_spawn_file_actions_addopen(&actions, 1, out_path_.c_str(), kFlags, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path_.c_str(), kFlags, 0644);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~Subprocess() { Stop(); }
  Subprocess(const Subprocess&) = delete;
  Subprocess& operator=(const Subprocess&) = delete;

  bool Running() {
    int raw = 0;
    if (pid_ > 0 && waitpid(pid_, &raw, WNOHANG) == pid_) {
      pid_ = -1;
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    }
    return pid_ > 0;
  }
  // The exit status or 128 + signal; -1 when it did not start or had to be killed after
  // `timeout_ms` real milliseconds.
  int Wait(int timeout_ms) {
    for (int waited = 0; Running(); waited += 5) {
      if (waited >= timeout_ms) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
      }
      usleep(5000);
    }
    return status_;
  }
  // SIGTERM, then Wait.
  int Stop() {
    if (Running()) kill(pid_, SIGTERM);
    return Wait(5000);
  }
  std::string Output() const { return ReadFile(out_path_); }
  std::string Errors() const { return ReadFile(err_path_); }

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  std::string out_path_;
  std::string err_path_;
};

}  // namespace pelgar::e2e
