#pragma once

// What the benchmarks share: the pelgar-sim process they measure against.
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace pelgar::bench {

// Starts pelgar-sim on COM3 of $PELGAR_PORT_DIR as a reader of "REV 2.30" and waits for its
// port entry `entry`; -1 when it did not come up.
inline pid_t StartSimulator(const std::filesystem::path& entry) {
  std::vector<std::string> args = {PELGAR_SIM_EXE, "--port", "COM3", "--revision", "REV 2.30"};
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int failed = posix_spawn(&pid, PELGAR_SIM_EXE, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return -1;
  for (int i = 0; i < 500 && !std::filesystem::exists(entry); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return std::filesystem::exists(entry) ? pid : -1;
}

}  // namespace pelgar::bench
