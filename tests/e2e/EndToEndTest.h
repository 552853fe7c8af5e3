#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Subprocess.h"

namespace pelgar::e2e {

// PELGAR_TIME_SCALE of the programs: their 500 ms take 50 ms.
inline constexpr int kTimeScale = 10;

// Programs run with a directory of their own that holds the port directory, the reader's
// state file and what the programs printed; it goes, with any program left, at the end.
class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pelgar-e2e-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    setenv("PELGAR_PORT_DIR", PortDir().c_str(), 1);
    setenv("PELGAR_TIME_SCALE", std::to_string(kTimeScale).c_str(), 1);
  }
  void TearDown() override {
    sim_.reset();
    std::filesystem::remove_all(dir_);
  }

  // Starts pelgar-sim on COM3 with its flash in StatePath(); true once it says where its
  // port is, false when it ended instead.
  bool StartSim(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> argv{PELGAR_SIM_EXE, "--port", "COM3", "--state", StatePath()};
    argv.insert(argv.end(), extra.begin(), extra.end());
    sim_ = std::make_unique<Subprocess>(argv, dir_ + "/sim");
    for (int waited = 0; waited < 10'000 && sim_->Running(); waited += 5) {
      if (sim_->Output().find(" -> ") != std::string::npos) return true;
      usleep(5000);
    }
    return false;
  }
  std::string PortDir() const { return dir_ + "/ports"; }
  std::string StatePath() const { return dir_ + "/reader.state"; }

  std::string dir_;
  std::unique_ptr<Subprocess> sim_;
};

}  // namespace pelgar::e2e
