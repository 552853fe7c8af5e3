#pragma once

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestEnvironment.h"

extern char** environ;

namespace pelgar::e2e {

// A configuration file for a wedge reader: both sections, "[" and "]" around the data.
inline const std::string kLobby =
    "Zyr MSR Configuration File\r\n5d%;+?\r\nZyr MSR Enhanced Configuration File\r\n"
    "12H:[\r\n12T:]\r\n13:0F\r\n15:FF\r\n";

inline std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

inline int ElapsedMs(std::chrono::steady_clock::time_point since) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - since)
                              .count());
}

// The frames of a trace's lines that hold `marker` and a frame, in order, each from its ":"
// on: what pelgar-sim received in command mode ("] <- "), or what a program sent (" send ").
inline std::vector<std::string> Frames(const std::string& trace, const std::string& marker) {
  std::vector<std::string> frames;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    const size_t at = line.find(marker + ":");
    if (at != std::string::npos) frames.push_back(line.substr(at + marker.size()));
  }
  return frames;
}

// Frames that change the reader: every command-mode frame but enter (10), restore (11) and
// the queries (02, 14, 16, 18, 19), and ISP entry and exit, which change no flash.
inline std::vector<std::string> Writes(const std::vector<std::string>& frames) {
  static const std::set<std::string> kNoChange{
      "1110", "1111", "1102", "1114", "1116", "1118", "1119", ":0100001107E7", ":0100001100EE"};
  std::vector<std::string> writes;
  for (const std::string& frame : frames) {
    if (!kNoChange.contains(frame.substr(7, 4)) && !kNoChange.contains(frame)) {
      writes.push_back(frame);
    }
  }
  return writes;
}

// A program started in `dir` with this process's environment, its standard output and
// error going to `dir`/`name`.out and .err. Stopped, if still running, when it goes.
class Subprocess {
 public:
  Subprocess(std::vector<std::string> argv, const std::string& dir, const std::string& name)
      : stem_(dir + "/" + name) {
    const std::string script = "cd '" + dir + R"(' && exec "$0" "$@" </dev/null >)" + name;
    argv.insert(argv.begin(), {"/bin/sh", "-c", script + ".out 2>" + name + ".err"});
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (std::string& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);
    // Emptied: not what an earlier run printed, while the shell starts.
    { std::ofstream emptied(stem_ + ".out"); }
    if (posix_spawn(&pid_, args[0], nullptr, nullptr, args.data(), environ) != 0) pid_ = -1;
  }
  ~Subprocess() { Stop(); }

  bool Running() {
    int raw = 0;
    if (pid_ > 0 && waitpid(pid_, &raw, WNOHANG) == pid_) {
      pid_ = -1;
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    }
    return pid_ > 0;
  }
  // The exit status (127: no such program) or 128 + signal (SIGKILL after `timeout_ms` ms).
  int Wait(int timeout_ms) {
    for (int waited = 0; Running(); waited += 5) {
      if (waited >= timeout_ms) kill(pid_, SIGKILL);
      usleep(5000);
    }
    return status_;
  }
  // SIGKILL ends it at once, as a crash or a pulled plug would: it cleans nothing up.
  int Stop(int signal = SIGTERM) {
    if (Running()) kill(pid_, signal);
    return Wait(5000);
  }
  std::string Output() const { return ReadFile(stem_ + ".out"); }
  std::string Errors() const { return ReadFile(stem_ + ".err"); }

 private:
  std::string stem_;
  pid_t pid_ = -1;
  int status_ = -1;
};

// Programs run with a directory of their own that holds the port directory, the reader's
// state file and what the programs printed; it goes at the end, after the programs left
// (members go in the reverse order of their declaration).
class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(dir_.empty()) << "no temporary folder"; }

  // Starts pelgar-sim on COM3 with its flash in dir_/reader.state, behind `launcher` (a
  // command such as env that runs it) when given; true once it says where its port is,
  // false when it ended instead.
  bool StartSim(const std::vector<std::string>& extra = {},
                std::vector<std::string> launcher = {}) {
    std::vector<std::string> argv = std::move(launcher);
    argv.insert(argv.end(), {PELGAR_SIM_EXE, "--port", "COM3", "--state", "reader.state"});
    argv.insert(argv.end(), extra.begin(), extra.end());
    sim_.reset();  // one reader on COM3 at a time
    sim_ = std::make_unique<Subprocess>(argv, dir_, "sim");
    return Listening(*sim_);
  }
  // True once pelgar-sim says where its port is, false when it ended instead.
  static bool Listening(Subprocess& sim) {
    for (int waited = 0; waited < 10'000 && sim.Running(); waited += 5) {
      if (sim.Output().find(" -> ") != std::string::npos) return true;
      usleep(5000);
    }
    return false;
  }

  // The command frames pelgar-sim received, once it has ended cleanly, taking its port
  // entry with it, so that nothing it received is still unprinted.
  std::vector<std::string> StopSim() {
    EXPECT_EQ(sim_->Stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir_ + "/ports/COM3")));
    return Frames(sim_->Output(), "] <- ");
  }

  platform::TempDir temp_;
  const std::string dir_ = temp_.root.string();
  // The programs find the port directory and the time scale here; both are put back. Their
  // 500 ms take 62.5 ms, a margin that a busy two-core machine keeps.
  platform::ScopedEnv port_dir_{"PELGAR_PORT_DIR", (dir_ + "/ports").c_str()};
  platform::ScopedEnv time_scale_{"PELGAR_TIME_SCALE", "8"};
  std::unique_ptr<Subprocess> sim_;
  std::map<std::string, std::unique_ptr<Subprocess>> sims_;  // several readers, by port
};

}  // namespace pelgar::e2e
