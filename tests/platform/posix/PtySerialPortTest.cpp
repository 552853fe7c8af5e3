// The POSIX serial port against the simulated reader on a pseudo-terminal, on real time
// sped up eightfold: a nominal 500 ms silence takes 62.5 ms, which a busy machine keeps.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/WaitHook.h"
#include "platform/posix/PosixSerialPort.h"
#include "sim/SimulatedReader.h"
#include "sim/posix/PtyTransport.h"
#include "support/TestEnvironment.h"

namespace pelgar::platform {
namespace {

const std::string kEnter = ":0100001110DE";
constexpr double kScale = 8;

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
  // Writes `frame`; returns the reply, which 500 ms (nominal) of silence ends.
  static std::string Exchange(SerialPort& port, const std::string& frame) {
    if (!port.Write(reinterpret_cast<const uint8_t*>(frame.data()), frame.size())) return "!";
    uint8_t reply[128];
    return {reply, reply + port.Read(reply, sizeof reply, 2000, 500)};
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

// The wait for a reply runs in slices, each started by the wait hook, and keeps its time-out.
TEST_F(PtySerialPortTest, ExclusiveAtTheHostsRateThroughThePortEntryTimingOutScaled) {
  struct CountingHook : WaitHook {
    void OnWait() override { ++calls; }
    int calls = 0;
  } hook;
  ASSERT_TRUE(port_.Open("COM3", 9600).ok());
  EXPECT_EQ(transport_.HostBaud(), 9600);
  const auto real_start = std::chrono::steady_clock::now();
  int64_t start = clock_.NowMs();
  clock_.SetWaitHook(&hook);
  EXPECT_EQ(Exchange(port_, kEnter), "");  // the reader, at 19200, hears nothing
  clock_.SetWaitHook(nullptr);
  EXPECT_GE(clock_.NowMs() - start, 2000);
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::milliseconds(2000));
  // 2000 nominal ms in slices of at most kWaitSliceMs real ones, fewer on a loaded machine;
  // the write may poll a slice or two too.
  EXPECT_GE(hook.calls, 1);
  EXPECT_LE(hook.calls, static_cast<int>(2000 / kScale / kWaitSliceMs) + 3);
  port_.SetBaudRate(19200);
  port_.SetBaudRate(12345);  // no such rate: the port stays as it was
  EXPECT_EQ(transport_.HostBaud(), 19200);
  start = clock_.NowMs();
  EXPECT_EQ(Exchange(port_, kEnter), kEnter + ".");
  EXPECT_LT(clock_.NowMs() - start, 2000);  // the gap after the reply ends the read
  // A second opener is refused until the first closes (a host retries a few ms).
  PosixSerialPort second(clock_);
  EXPECT_EQ(second.Open("COM3", 19200).status, OpenStatus::kBusy);
  port_.Close();
  for (int attempt = 0; attempt < 50 && !second.Open("COM3", 19200).ok(); ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(Exchange(second, ":0100001111DD"), ":0100001111DD.");  // not hung up
}

TEST(RealClockScale, ComesFromTheEnvironment) {
  ScopedEnv scale("PELGAR_TIME_SCALE", "20");
  EXPECT_EQ(RealClock(RealClock::ScaleFromEnvironment()).RealMs(500), 25);
  for (const char* bad : {"", "0", "-3", "fast", "20x", "inf"}) {
    scale.Set(bad);
    EXPECT_EQ(RealClock::ScaleFromEnvironment(), 1) << bad;
  }
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
  EXPECT_EQ(Exchange(port_, kEnter), "!");
}

}  // namespace
}  // namespace pelgar::platform
