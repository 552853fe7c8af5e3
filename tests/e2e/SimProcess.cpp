#include "SimProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace pelgar::e2e {
namespace {

constexpr int kReadyTimeoutMs = 10'000;
constexpr int kStopTimeoutMs = 5'000;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

SimProcess::SimProcess(std::string work_dir, double time_scale)
    : work_dir_(std::move(work_dir)), time_scale_(time_scale) {}

SimProcess::~SimProcess() {
  if (pid_ > 0) Stop();
}

std::string SimProcess::Output() const { return ReadAll(work_dir_ + "/sim.out"); }
std::string SimProcess::Errors() const { return ReadAll(work_dir_ + "/sim.err"); }

bool SimProcess::Start(const std::vector<std::string>& args) {
  if (pid_ > 0) return false;
  exit_status_ = -1;
  std::vector<std::string> argv{PELGAR_SIM_EXE};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    if (text.rfind("PELGAR_PORT_DIR=", 0) != 0 && text.rfind("PELGAR_TIME_SCALE=", 0) != 0) {
      env.push_back(text);
    }
  }
  env.push_back("PELGAR_PORT_DIR=" + PortDir());
  env.push_back("PELGAR_TIME_SCALE=" + std::to_string(time_scale_));

  std::vector<char*> arg_pointers;
  for (std::string& arg : argv) arg_pointers.push_back(arg.data());
  arg_pointers.push_back(nullptr);
  std::vector<char*> env_pointers;
  for (std::string& text : env) env_pointers.push_back(text.data());
  env_pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string out = work_dir_ + "/sim.out";
  const std::string err = work_dir_ + "/sim.err";
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int result = posix_spawn(&pid_, arg_pointers[0], &actions, nullptr, arg_pointers.data(),
                           env_pointers.data());
  posix_spawn_file_actions_destroy(&actions);
  if (result != 0) {
    pid_ = -1;
    return false;
  }
  // Ready once it has said where its port is.
  for (int waited = 0; waited < kReadyTimeoutMs; waited += 5) {
    if (Output().find(" -> ") != std::string::npos) return true;
    if (Reap(0) >= 0 || pid_ < 0) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  Stop();
  return false;
}

// Collects the child when it has ended within `timeout_ms`; with a time-out of 0 only
// looks. Returns its status, or -1 while it still runs (or had to be killed).
int SimProcess::Reap(int timeout_ms) {
  for (int waited = 0;; waited += 5) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      exit_status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return exit_status_;
    }
    if (timeout_ms == 0) return -1;
    if (waited >= timeout_ms) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
  exit_status_ = -1;
  return -1;
}

int SimProcess::Stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  return Reap(kStopTimeoutMs);
}

}  // namespace pelgar::e2e
