// The POSIX serial port against the simulated reader on a pseudo-terminal, on real time
// sped up twenty-fold: a nominal 500 ms silence takes 25 ms.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/RealClock.h"
#include "platform/posix/PosixSerialPort.h"
#include "sim/PtyTransport.h"
#include "sim/SimulatedReader.h"

namespace pelgar::platform {
namespace {

namespace fs = std::filesystem;

constexpr char kEnter[] = ":0100001110DE";
constexpr double kScale = 20;

double RealMsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

class PtySerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pelgar-pty-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    if (const char* old = std::getenv("PELGAR_PORT_DIR")) old_port_dir_ = old;
    setenv("PELGAR_PORT_DIR", (dir_ / "ports").c_str(), 1);
  }
  void TearDown() override {
    StopSimulator();
    if (old_port_dir_.empty()) {
      unsetenv("PELGAR_PORT_DIR");
    } else {
      setenv("PELGAR_PORT_DIR", old_port_dir_.c_str(), 1);
    }
    fs::remove_all(dir_);
  }

  void StartSimulator() {
    std::string error;
    ASSERT_TRUE(transport_.Open("COM3", &error)) << error;
    thread_ = std::thread([this] { transport_.Run(stop_); });
  }
  void StopSimulator() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    transport_.Close();
  }

  bool Write(SerialPort& port, const std::string& text) {
    return port.Write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  }
  // The whole reply, ended by 500 ms (nominal) of silence.
  std::string Exchange(SerialPort& port, const std::string& frame) {
    if (!Write(port, frame)) return "<write failed>";
    std::string reply;
    uint8_t byte = 0;
    while (port.Read(&byte, 1, 500, 500) == 1) reply += static_cast<char>(byte);
    return reply;
  }

  fs::path dir_;
  std::string old_port_dir_;
  RealClock clock_{kScale};
  sim::SimulatedReader reader_;
  sim::PtyTransport transport_{reader_, clock_};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

TEST_F(PtySerialPortTest, ExchangesFramesThroughThePortEntry) {
  StartSimulator();
  EXPECT_EQ(fs::read_symlink(dir_ / "ports" / "COM3"), transport_.device_path());
  PosixSerialPort port(clock_);
  ASSERT_TRUE(port.Open("COM3", 19200).ok());
  EXPECT_EQ(Exchange(port, kEnter), std::string(kEnter) + ".");
  // A block read ends at the gap after the reply, not at its total time-out.
  ASSERT_TRUE(Write(port, ":0100001118D6"));
  uint8_t reply[100];
  const int64_t start = clock_.NowMs();
  size_t received = port.Read(reply, sizeof reply, 500 * 100, 500);
  EXPECT_GT(received, 26u);
  EXPECT_LT(clock_.NowMs() - start, 500 * 100);
}

TEST_F(PtySerialPortTest, SilenceEndsAReadAfterTheScaledTimeOut) {
  StartSimulator();
  PosixSerialPort port(clock_);
  ASSERT_TRUE(port.Open("COM3", 19200).ok());
  const auto real_start = std::chrono::steady_clock::now();
  const int64_t start = clock_.NowMs();
  uint8_t byte = 0;
  EXPECT_EQ(port.Read(&byte, 1, 500, 500), 0u);
  EXPECT_GE(clock_.NowMs() - start, 500);
  EXPECT_GE(RealMsSince(real_start), 500 / kScale);
  // Generous: only shows that the scale applies at all.
  EXPECT_LT(RealMsSince(real_start), 500);
  EXPECT_FALSE(port.HungUp());
}

TEST(RealClockScale, ComesFromTheEnvironment) {
  const char* old = std::getenv("PELGAR_TIME_SCALE");
  std::string saved = old != nullptr ? old : "";
  setenv("PELGAR_TIME_SCALE", "20", 1);
  EXPECT_EQ(RealClock::ScaleFromEnvironment(), 20);
  EXPECT_EQ(RealClock(RealClock::ScaleFromEnvironment()).RealMs(500), 25);
  for (const char* bad : {"", "0", "-3", "fast", "20x", "inf"}) {
    setenv("PELGAR_TIME_SCALE", bad, 1);
    EXPECT_EQ(RealClock::ScaleFromEnvironment(), 1) << bad;
  }
  if (old != nullptr) {
    setenv("PELGAR_TIME_SCALE", saved.c_str(), 1);
  } else {
    unsetenv("PELGAR_TIME_SCALE");
  }
}

TEST_F(PtySerialPortTest, SecondOpenerIsRefusedUntilTheFirstCloses) {
  StartSimulator();
  PosixSerialPort first(clock_);
  PosixSerialPort second(clock_);
  ASSERT_TRUE(first.Open("COM3", 19200).ok());
  EXPECT_EQ(second.Open("COM3", 19200).status, OpenStatus::kBusy);
  EXPECT_EQ(Exchange(first, kEnter), std::string(kEnter) + ".");
  first.Close();
  // The simulator lifts a stale exclusion within a few milliseconds; a host retries.
  bool opened = false;
  for (int attempt = 0; attempt < 50 && !opened; ++attempt) {
    opened = second.Open("COM3", 19200).ok();
    if (!opened) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(opened);
  // The reader was there all along: no hang-up between the two sessions.
  EXPECT_FALSE(second.HungUp());
  EXPECT_EQ(Exchange(second, ":0100001111DD"), ":0100001111DD.");
}

TEST_F(PtySerialPortTest, SimulatorSeesTheHostsRateAndIgnoresOthers) {
  StartSimulator();
  PosixSerialPort port(clock_);
  ASSERT_TRUE(port.Open("COM3", 9600).ok());
  EXPECT_EQ(transport_.HostBaud(), 9600);
  EXPECT_EQ(Exchange(port, kEnter), "");
  port.SetBaudRate(38400);
  EXPECT_EQ(transport_.HostBaud(), 38400);
  port.SetBaudRate(19200);
  EXPECT_EQ(transport_.HostBaud(), 19200);
  EXPECT_EQ(Exchange(port, kEnter), std::string(kEnter) + ".");
  // A rate the platform has no constant for leaves the port as it was.
  port.SetBaudRate(12345);
  EXPECT_EQ(transport_.HostBaud(), 19200);
}

TEST_F(PtySerialPortTest, VanishedSimulatorEndsAReadAtOnce) {
  StartSimulator();
  PosixSerialPort port(clock_);
  ASSERT_TRUE(port.Open("COM3", 19200).ok());
  std::thread vanish([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    StopSimulator();
  });
  const int64_t start = clock_.NowMs();
  uint8_t byte = 0;
  EXPECT_EQ(port.Read(&byte, 1, 600'000, 600'000), 0u);
  vanish.join();
  EXPECT_LT(clock_.NowMs() - start, 600'000);
  EXPECT_TRUE(port.HungUp());
  EXPECT_FALSE(Write(port, kEnter));
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir_ / "ports" / "COM3")));
}

}  // namespace
}  // namespace pelgar::platform
