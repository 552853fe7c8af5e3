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
  EXPECT_EQ(DevicePathForPort("COM12"), R"(\\.\COM12)");  // a bare COM12 would be a file
  EXPECT_EQ(DevicePathForPort("COM03"), R"(\\.\COM3)");
  EXPECT_EQ(DevicePathForPort(R"(\\.\COM12)"), R"(\\.\COM12)");  // a device path (pelgarctl -p)
  for (const char* bad : {"", "COM", "COM0", "COMX", "COM3X", " COM3", "COM 3", "LPT1", "CON",
                          R"(\\?\COM3)", "COM3\\..", "COM99999999999999999999"}) {
    EXPECT_EQ(DevicePathForPort(bad), "") << bad;
  }
}

// A port that does not exist is reported as missing, at once and with its name, and the
// port object stays usable: closed, reading nothing, writing nothing.
TEST(Win32SerialPort, MissingPortIsNotFoundWithItsName) {
  RealClock clock;
  std::unique_ptr<SerialPort> port = MakeSystemPorts(clock)->Create();
  for (const char* name : {"COM199", "COM199 "}) {
    const OpenResult result = port->Open(name, 19200);
    EXPECT_EQ(result.status, OpenStatus::kNotFound) << result.detail;
    EXPECT_EQ(result.detail, "COM199: no such port");
  }
  const OpenResult not_a_port = port->Open("LPT1", 19200);
  EXPECT_EQ(not_a_port.status, OpenStatus::kNotFound);
  EXPECT_NE(not_a_port.detail.find("LPT1"), std::string::npos) << not_a_port.detail;

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
