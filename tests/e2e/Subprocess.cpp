#include "Subprocess.h"

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

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

Subprocess::Subprocess(std::vector<std::string> argv, const Environment& extra_env,
                       const std::string& output_dir) {
  static int counter = 0;
  std::string stem = output_dir + "/proc" + std::to_string(++counter);
  out_path_ = stem + ".out";
  err_path_ = stem + ".err";

  std::vector<std::string> env_text;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    bool replaced = false;
    for (const auto& [name, value] : extra_env) replaced |= text.starts_with(name + "=");
    if (!replaced) env_text.push_back(text);
  }
  for (const auto& [name, value] : extra_env) env_text.push_back(name + "=" + value);

  std::vector<char*> args;
  for (std::string& arg : argv) args.push_back(arg.data());
  args.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& text : env_text) envp.push_back(text.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
}

Subprocess::~Subprocess() {
  if (pid_ > 0 && status_ < 0) Stop(2000);
}

int Subprocess::Wait(int timeout_ms) {
  if (pid_ <= 0) return -1;
  if (status_ >= 0) return status_;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (true) {
    int raw = 0;
    pid_t done = waitpid(pid_, &raw, WNOHANG);
    if (done == pid_) {
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
      return status_;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &raw, 0);
      status_ = 128 + SIGKILL;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

int Subprocess::Stop(int timeout_ms) {
  if (pid_ > 0 && status_ < 0) kill(pid_, SIGTERM);
  return Wait(timeout_ms);
}

std::string Subprocess::Output() const { return ReadAll(out_path_); }
std::string Subprocess::Errors() const { return ReadAll(err_path_); }

}  // namespace pelgar::e2e
