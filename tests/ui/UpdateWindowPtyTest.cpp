// A whole update through the program's own serial port code against pelgar-sim on a
// pseudo-terminal, sped up by PELGAR_TIME_SCALE.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "UpdateWindowSupport.h"
#include "platform/RealClock.h"
#include "platform/posix/PosixSerialPort.h"

extern char** environ;

namespace pelgar::ui {
namespace {

// Fast enough for a test, slow enough that a busy machine still answers within the
// 500 ms / scale that ends a reply.
constexpr char kScale[] = "5";

class SimulatorProcess {
 public:
  SimulatorProcess(const std::filesystem::path& port_dir, std::vector<std::string> args) {
    setenv("PELGAR_PORT_DIR", port_dir.c_str(), 1);
    setenv("PELGAR_TIME_SCALE", kScale, 1);
    args.insert(args.begin(), {PELGAR_SIM_EXE, "--port", "COM3"});
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid_, PELGAR_SIM_EXE, &actions, nullptr, argv.data(), environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    for (int i = 0; i < 500 && pid_ > 0 && !std::filesystem::exists(port_dir / "COM3"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~SimulatorProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  bool running() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
};

TEST(PtyUpdate, UpdatesPelgarSimOverAPseudoTerminal) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) /
                                    ("pelgar_pty_update_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  {
    SimulatorProcess simulator(dir / "ports", {"--family", "1"});
    ASSERT_TRUE(simulator.running());
    ASSERT_TRUE(std::filesystem::exists(dir / "ports" / "COM3"));

    platform::RealClock clock(platform::RealClock::ScaleFromEnvironment());
    platform::PosixPortFactory line(clock);
    pelgar::testing::RecordingPorts ports(line, clock);
    testing::ScriptedMessages messages;
    testing::ScriptedWindow window(clock);
    testing::ScriptedFiles files;
    std::ostringstream err;
    FirmwareUpdater updater({ports, clock, messages, window, window, window, files, err});
    files.choice = testing::WriteTempFile(
        "pty.hex", pelgar::testing::ToHexText(pelgar::testing::MakeImage("REV 1.31", 48, 0)));
    updater.SetPort("COM3", "19200");
    updater.DoModal();

    EXPECT_EQ(window.statuses.back(), "Exiting ISP programming mode successfully.") << err.str();
    EXPECT_EQ(ports.writes.back().bytes, ":0100001100EE");
    EXPECT_EQ(ports.writes.back().baud, 9600);
    EXPECT_FALSE(updater.port_open());
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().caption, "MSR Firmware Update");
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace pelgar::ui
