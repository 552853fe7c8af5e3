// A whole update through the program's own serial port code against pelgar-sim on a
// pseudo-terminal, sped up by PELGAR_TIME_SCALE.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "UpdateWindowSupport.h"
#include "platform/RealClock.h"
#include "platform/posix/PosixSerialPort.h"

extern char** environ;

namespace pelgar::ui {
namespace {

TEST(UpdateWindowPty, UpdatesPelgarSimOverAPseudoTerminal) {
  const auto dir = std::filesystem::path(::testing::TempDir()) /
                   ("pelgar_pty_update_" + std::to_string(getpid()));
  setenv("PELGAR_PORT_DIR", (dir / "ports").c_str(), 1);
  // Fast enough for a test, slow enough that a busy machine still answers within the
  // 500 ms / scale that ends a reply.
  setenv("PELGAR_TIME_SCALE", "5", 1);
  const char* argv[] = {PELGAR_SIM_EXE, "--port", "COM3", "--family", "1", nullptr};
  pid_t simulator = -1;
  ASSERT_EQ(
      posix_spawn(&simulator, PELGAR_SIM_EXE, nullptr, nullptr, const_cast<char**>(argv), environ),
      0);
  for (int i = 0; i < 500 && !std::filesystem::exists(dir / "ports" / "COM3"); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  {
    platform::RealClock clock(platform::RealClock::ScaleFromEnvironment());
    platform::PosixPortFactory line(clock);
    testing::UpdateDesktop desk(line, clock);
    desk.Update(pelgar::testing::MakeImage("REV 1.31", 48, 0));
    EXPECT_EQ(desk.statuses.back(), "Exiting ISP programming mode successfully.") << desk.err.str();
    EXPECT_EQ(desk.ports.writes.back().bytes, ":0100001100EE");
    EXPECT_EQ(desk.ports.writes.back().baud, 9600);
    EXPECT_FALSE(desk.updater.port_open());
    EXPECT_THAT(desk.messages,
                ::testing::ElementsAre(::testing::StartsWith("MSR Firmware Update/")));
  }
  kill(simulator, SIGTERM);
  waitpid(simulator, nullptr, 0);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace pelgar::ui
