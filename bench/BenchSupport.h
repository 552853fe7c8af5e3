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

// Starts the program args[0] with args, standard input from /dev/null and, when `quiet`,
// standard output to /dev/null; -1 when it could not be started.
inline pid_t Spawn(std::vector<std::string> args, bool quiet) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (quiet) posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Starts pelgar-sim on COM3 of $PELGAR_PORT_DIR as a reader of "REV 2.30" and waits for its
// port entry `entry`; -1 when it did not come up.
inline pid_t StartSimulator(const std::filesystem::path& entry) {
  const pid_t pid = Spawn({PELGAR_SIM_EXE, "--port", "COM3", "--revision", "REV 2.30"}, true);
  if (pid < 0) return -1;
  for (int i = 0; i < 500 && !std::filesystem::exists(entry); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return std::filesystem::exists(entry) ? pid : -1;
}

}  // namespace pelgar::bench
