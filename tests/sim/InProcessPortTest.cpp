#include <gtest/gtest.h>

#include <string>

#include "sim/InProcessPort.h"

namespace pelgar::sim {
namespace {

constexpr char kEnter[] = ":0100001110DE";
constexpr char kCommit[] = ":0100001109E5";

class InProcessPortTest : public ::testing::Test {
 protected:
  bool Write(platform::SerialPort& port, const std::string& text) {
    return port.Write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  }
  // Reads one byte at a time with 500 ms time-outs, like the host's exchange.
  std::string ReadUntilSilence(platform::SerialPort& port) {
    std::string text;
    uint8_t byte = 0;
    while (port.Read(&byte, 1, 500, 500) == 1) text += static_cast<char>(byte);
    return text;
  }

  SimulatedReader reader_;
  platform::VirtualClock clock_;
  InProcessPortFactory ports_{reader_, clock_};
};

TEST_F(InProcessPortTest, OpensOnlyPresentFreePorts) {
  auto port = ports_.Create();
  EXPECT_EQ(port->Open("COM4", 19200).status, platform::OpenStatus::kNotFound);
  ports_.busy = true;
  EXPECT_EQ(port->Open("COM3", 19200).status, platform::OpenStatus::kBusy);
  ports_.busy = false;
  EXPECT_TRUE(port->Open("COM3 ", 19200).ok());
  auto second = ports_.Create();
  EXPECT_EQ(second->Open("COM3", 19200).status, platform::OpenStatus::kBusy);
  port->Close();
  EXPECT_TRUE(second->Open("COM3", 19200).ok());
  EXPECT_EQ(ports_.open_count(), 2);
}

TEST_F(InProcessPortTest, ReplyEndsAfterFiveHundredMsOfVirtualSilence) {
  auto port = ports_.Create();
  ASSERT_TRUE(port->Open("COM3", 19200).ok());
  clock_.AdvanceTo(1000);
  ASSERT_TRUE(Write(*port, kEnter));
  EXPECT_EQ(ReadUntilSilence(*port), std::string(kEnter) + ".");
  EXPECT_EQ(clock_.NowMs(), 1500);
  uint8_t bytes[4];
  EXPECT_EQ(port->Read(bytes, 4, 2000, 500), 0u);
  EXPECT_EQ(clock_.NowMs(), 3500);
}

TEST_F(InProcessPortTest, LateAcknowledgementArrivesAtItsTime) {
  reader_.faults().late_commit_ms = 2000;
  auto port = ports_.Create();
  ASSERT_TRUE(port->Open("COM3", 19200).ok());
  Write(*port, kEnter);
  ReadUntilSilence(*port);
  const int64_t sent = clock_.NowMs();
  Write(*port, kCommit);
  EXPECT_EQ(ReadUntilSilence(*port), kCommit);
  uint8_t byte = 0;
  while (port->Read(&byte, 1, 500, 500) == 0) {
  }
  EXPECT_EQ(byte, '.');
  EXPECT_EQ(clock_.NowMs(), sent + 2000);
}

TEST_F(InProcessPortTest, FramesAtTheWrongRateGoUnanswered) {
  auto port = ports_.Create();
  ASSERT_TRUE(port->Open("COM3", 9600).ok());
  Write(*port, kEnter);
  EXPECT_EQ(ReadUntilSilence(*port), "");
  port->SetBaudRate(19200);
  EXPECT_EQ(ports_.baud(), 19200);
  Write(*port, kEnter);
  EXPECT_EQ(ReadUntilSilence(*port), std::string(kEnter) + ".");
}

TEST_F(InProcessPortTest, HangUpEndsReadsAtOnceAndFailsWrites) {
  auto port = ports_.Create();
  ASSERT_TRUE(port->Open("COM3", 19200).ok());
  Write(*port, kEnter);
  ports_.HangUp();
  uint8_t byte = 0;
  EXPECT_EQ(port->Read(&byte, 1, 500, 500), 0u);
  EXPECT_EQ(clock_.NowMs(), 0);
  EXPECT_TRUE(port->HungUp());
  EXPECT_FALSE(Write(*port, kEnter));
  port->Close();
  EXPECT_TRUE(port->Open("COM3", 19200).ok());
  EXPECT_FALSE(port->HungUp());
}

}  // namespace
}  // namespace pelgar::sim
