// The POSIX serial port against the simulated reader on a pseudo-terminal, on real time
// sped up twenty-fold: a nominal 500 ms silence takes 25 ms.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/RealClock.h"
#include "platform/posix/PosixSerialPort.h"
#include "sim/PtyTransport.h"
#include "sim/SimulatedReader.h"
#include "tests/platform/TestEnvironment.h"

namespace pelgar::platform {
namespace {

namespace fs = std::filesystem;

constexpr char kEnter[] = ":0100001110DE";
constexpr double kScale = 20;

class PtySerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(transport_.Open("COM3", &error)) << error;
    thread_ = std::thread([this] { transport_.Run(stop_); });
  }
  void TearDown() override { StopSimulator(); }
  void StopSimulator() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    transport_.Close();
  }

  static bool Write(SerialPort& port, const std::string& text) {
    return port.Write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  }
  // The whole reply, ended by 500 ms (nominal) of silence.
  static std::string Exchange(SerialPort& port, const std::string& frame) {
    if (!Write(port, frame)) return "<write failed>";
    std::string reply;
    uint8_t byte = 0;
    while (port.Read(&byte, 1, 500, 500) == 1) reply += static_cast<char>(byte);
    return reply;
  }

  TempDir dir_;
  ScopedEnv port_dir_{"PELGAR_PORT_DIR", (dir_ / "ports").c_str()};
  RealClock clock_{kScale};
  sim::SimulatedReader reader_;
  sim::PtyTransport transport_{reader_, clock_};
  std::atomic<bool> stop_{false};
  std::thread thread_;
  PosixSerialPort port_{clock_};
};

TEST_F(PtySerialPortTest, ExchangesFramesThroughThePortEntryAndTimesOutScaled) {
  EXPECT_EQ(fs::read_symlink(dir_ / "ports/COM3"), transport_.device_path());
  ASSERT_TRUE(port_.Open("COM3", 19200).ok());
  EXPECT_EQ(Exchange(port_, kEnter), std::string(kEnter) + ".");
  // A block read ends at the gap after the reply, not at its total time-out.
  ASSERT_TRUE(Write(port_, ":0100001118D6"));
  uint8_t reply[100];
  int64_t start = clock_.NowMs();
  EXPECT_GT(port_.Read(reply, sizeof reply, 500 * 100, 500), 26u);
  EXPECT_LT(clock_.NowMs() - start, 500 * 100);
  // Silence ends a read after the time-out, which the scale shortens (generously checked).
  const auto real_start = std::chrono::steady_clock::now();
  start = clock_.NowMs();
  EXPECT_EQ(port_.Read(reply, 1, 500, 500), 0u);
  EXPECT_GE(clock_.NowMs() - start, 500);
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::milliseconds(500));
  EXPECT_FALSE(port_.HungUp());
}

TEST(RealClockScale, ComesFromTheEnvironment) {
  ScopedEnv scale("PELGAR_TIME_SCALE", "20");
  EXPECT_EQ(RealClock(RealClock::ScaleFromEnvironment()).RealMs(500), 25);
  for (const char* bad : {"", "0", "-3", "fast", "20x", "inf"}) {
    scale.Set(bad);
    EXPECT_EQ(RealClock::ScaleFromEnvironment(), 1) << bad;
  }
}

TEST_F(PtySerialPortTest, SecondOpenerIsRefusedUntilTheFirstCloses) {
  PosixSerialPort second(clock_);
  ASSERT_TRUE(port_.Open("COM3", 19200).ok());
  EXPECT_EQ(second.Open("COM3", 19200).status, OpenStatus::kBusy);
  EXPECT_EQ(Exchange(port_, kEnter), std::string(kEnter) + ".");
  port_.Close();
  // The simulator lifts a stale exclusion within a few milliseconds; a host retries.
  bool opened = false;
  for (int attempt = 0; attempt < 50 && !opened; ++attempt) {
    opened = second.Open("COM3", 19200).ok();
    if (!opened) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(opened);
  EXPECT_FALSE(second.HungUp());  // the reader was there all along
  EXPECT_EQ(Exchange(second, ":0100001111DD"), ":0100001111DD.");
}

TEST_F(PtySerialPortTest, SimulatorSeesTheHostsRateAndIgnoresOthers) {
  ASSERT_TRUE(port_.Open("COM3", 9600).ok());
  EXPECT_EQ(transport_.HostBaud(), 9600);
  EXPECT_EQ(Exchange(port_, kEnter), "");
  port_.SetBaudRate(38400);
  EXPECT_EQ(transport_.HostBaud(), 38400);
  port_.SetBaudRate(19200);
  EXPECT_EQ(Exchange(port_, kEnter), std::string(kEnter) + ".");
  port_.SetBaudRate(12345);  // no such rate: the port stays as it was
  EXPECT_EQ(transport_.HostBaud(), 19200);
}

TEST_F(PtySerialPortTest, VanishedSimulatorEndsAReadAtOnce) {
  ASSERT_TRUE(port_.Open("COM3", 19200).ok());
  std::thread vanish([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    StopSimulator();
  });
  const int64_t start = clock_.NowMs();
  uint8_t byte = 0;
  EXPECT_EQ(port_.Read(&byte, 1, 600'000, 600'000), 0u);
  vanish.join();
  EXPECT_LT(clock_.NowMs() - start, 600'000);
  EXPECT_TRUE(port_.HungUp());
  EXPECT_FALSE(Write(port_, kEnter));
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir_ / "ports/COM3")));
}

}  // namespace
}  // namespace pelgar::platform
