// A whole firmware update through the update window's code and the program's own serial port
// against the pelgar-sim executable: the baud change and ISP framing on a real tty.
#include <fstream>

#include "e2e/EndToEndTest.h"
#include "platform/RealClock.h"
#include "platform/posix/PosixSerialPort.h"
#include "support/FirmwareImages.h"
#include "support/ScriptedHost.h"
#include "support/ScriptedMessageOutput.h"
#include "ui/update/FirmwareUpdater.h"
#include "ui/update/UpdateWindowIds.h"

namespace pelgar::e2e {
namespace {

using FirmwareUpdateEndToEndTest = EndToEndTest;

TEST_F(FirmwareUpdateEndToEndTest, UpdatesPelgarSimOverItsPseudoTerminal) {
  ASSERT_TRUE(StartSim({"--family", "1"}));
  const std::string hex = dir_ + "/new.hex";
  std::ofstream(hex, std::ios::binary)
      << pelgar::testing::ToHexText(pelgar::testing::MakeImage("REV 1.31", 48, 0));

  // The desktop's part: the window fires its timer once, the user picks `hex`.
  platform::RealClock clock(platform::RealClock::ScaleFromEnvironment());
  pelgar::testing::ScriptedHost desk(clock);
  desk.choice = hex;
  desk.max_timer_firings = 1;
  platform::PosixPortFactory ports(clock);
  pelgar::testing::ScriptedMessageOutput messages;
  std::ostringstream err;
  ui::FirmwareUpdater updater({ports, clock, messages, desk, desk, desk, desk, err});
  updater.SetPort("COM3", "19200");
  updater.DoModal();

  EXPECT_EQ(desk.Last(ui::update_id::kDialog)->Text(ui::update_id::kStatusLine),
            "Exiting ISP programming mode successfully.")
      << err.str();
  ASSERT_EQ(messages.shown.size(), 1u) << err.str();
  EXPECT_EQ(messages.shown[0].rfind("MSR Firmware Update/", 0), 0u) << messages.shown[0];
  EXPECT_FALSE(updater.port_open());
  // The reader now runs the new firmware and says so.
  sim_.reset();
  EXPECT_NE(ReadFile(dir_ + "/reader.state").find("REV 1.31"), std::string::npos);
}

}  // namespace
}  // namespace pelgar::e2e
