// A family without a dialect: the reader is switched to ISP mode (its family is only known
// from the file), but nothing is sent in a dialect the program does not have.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "firmware/IspSequence.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/FirmwareImages.h"
#include "support/RecordingPorts.h"

namespace pelgar::firmware {
namespace {

struct NoWindow : PlainMessages, UpdateProgress {
  void ShowPlainMessage(std::string_view) override {}
  void SetRange(int, int) override {}
  void SetPosition(int) override {}
};

TEST(IspDialect, FamilyWithoutOneIsRefusedByEveryStep) {
  const FirmwareImage image = pelgar::testing::MakeImage("", 16, 16);
  for (const char* revision : {"REV 0.30", "REV 4.30", "REV A.30"}) {
    platform::VirtualClock clock;
    sim::SimulatedReader reader;
    sim::InProcessPortFactory line(reader, clock);
    pelgar::testing::RecordingPorts ports(line, clock);
    NoWindow window;
    std::ostringstream err;
    UpdaterLink link(ports, clock);
    IspSequence isp(link, window, err);
    FirmwareImage read_back = pelgar::testing::MakeImage("", 0, 0);

    const bool opened = link.OpenPort("COM3", "19200");
    EXPECT_TRUE(opened) << revision;
    if (!opened) continue;
    isp.AnalyseImage(image, revision);
    EXPECT_FALSE(isp.EnterIspSetup()) << revision;
    EXPECT_EQ(ports.Frames(), (std::vector<std::string>{":0100001110DE", ":0100001107E7"}))
        << revision;
    EXPECT_FALSE(isp.SetIplOption()) << revision;
    EXPECT_FALSE(isp.EraseFirmware()) << revision;
    EXPECT_FALSE(isp.ProgramAndVerify(image, read_back, window)) << revision;
    EXPECT_EQ(ports.writes.size(), 2u) << revision;
  }
}

}  // namespace
}  // namespace pelgar::firmware
