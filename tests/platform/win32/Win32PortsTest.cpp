// COM ports on Windows: the device namespace's names, and what opening one that is not there
// tells the technician. (Reading and writing a port are tried under Wine against pelgar-sim's
// pseudo-terminal, which a Windows process cannot make itself.)
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/PortNames.h"
#include "platform/RealClock.h"
#include "platform/SystemPorts.h"

namespace pelgar::platform {
namespace {

TEST(Win32PortNames, ComNumbersInTheDeviceNamespaceAndNothingElse) {
  EXPECT_EQ(PortDirectory(), "");
  EXPECT_EQ(DevicePathForPort("COM3"), R"(\\.\COM3)");
  EXPECT_EQ(DevicePathForPort("COM3  "), R"(\\.\COM3)");
  EXPECT_EQ(DevicePathForPort("COM03"), R"(\\.\COM3)");
  EXPECT_EQ(DevicePathForPort(R"(\\.\COM12)"), R"(\\.\COM12)");  // a device path (pelgarctl -p)
  for (const char* bad : {"", "COM", "COM0", "COMX", "COM3X", " COM3", "COM 3", "LPT1", "CON",
                          R"(\\?\COM3)", "COM3\\..", "COM99999999999999999999"}) {
    EXPECT_EQ(DevicePathForPort(bad), "") << bad;
  }
}

// A port that does not exist is reported as missing at once, a rate the system has no
// setting for before the port is touched (the caller puts the port name in front), and
// the port object stays usable: closed, reading nothing, writing nothing.
TEST(Win32SerialPort, MissingPortOrRateSaysWhy) {
  RealClock clock;
  std::unique_ptr<SerialPort> port = MakeSystemPorts(clock)->Create();
  const struct {
    const char* name;
    int32_t baud;
    OpenStatus status;
    const char* detail;
  } kCases[] = {
      {"COM199", 19200, OpenStatus::kNotFound, "no such port"},
      {"LPT1", 19200, OpenStatus::kNotFound, "not a port name"},
      {"COM1", 12345, OpenStatus::kFailed, "unsupported baud rate 12345"},
  };
  for (const auto& c : kCases) {
    const OpenResult result = port->Open(c.name, c.baud);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_EQ(result.detail, c.detail) << c.name;
  }

  uint8_t byte = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(port->Read(&byte, 1, 1000, 1000), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_FALSE(port->Write(&byte, 1));
  EXPECT_FALSE(port->HungUp());
  port->Close();
}

}  // namespace
}  // namespace pelgar::platform
