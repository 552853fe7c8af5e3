#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "firmware/IspSequence.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/FirmwareImages.h"
#include "support/RecordingPorts.h"

namespace pelgar::firmware {
namespace {

using pelgar::testing::MakeImage;
using ::testing::ElementsAre;

// What the window would show: the plain messages and the progress bar.
struct RecordingWindow : PlainMessages, UpdateProgress {
  void ShowPlainMessage(std::string_view text) override { shown.emplace_back(text); }
  void SetRange(int low, int high) override { range = {low, high}; }
  void SetPosition(int at) override { position = at; }

  std::vector<std::string> shown;
  std::pair<int, int> range;
  int position = -1;
};

// The steps one by one against a reader already in ISP mode's reach, for the shapes the
// window cannot reach on its own (a high-only image carries no revision at 0x1FE0).
class IspSequenceTest : public ::testing::Test {
 protected:
  void Start(std::string_view reader_revision, const FirmwareImage& image,
             std::string_view file_revision) {
    reader.state().revision = std::string(reader_revision);
    reader.state().program.fill(0x00);
    ASSERT_TRUE(link.OpenPort("COM3", "19200"));
    isp.AnalyseImage(image, file_revision);
    ASSERT_TRUE(isp.EnterIspSetup());
    ports.writes.clear();
  }

  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory line{reader, clock};
  pelgar::testing::RecordingPorts ports{line, clock};
  RecordingWindow window;
  std::ostringstream err;
  UpdaterLink link{ports, clock};
  IspSequence isp{link, window, err};
  FirmwareImage read_back = [] {
    FirmwareImage image;
    image.fill(kNoCode);
    return image;
  }();
};

TEST_F(IspSequenceTest, HighOnlyFamily1ErasesAndProgramsTheHighRegion) {
  FirmwareImage image = MakeImage("", 0, 512);
  Start("REV 1.30", image, "REV 1.31");
  EXPECT_FALSE(isp.low_region());
  EXPECT_TRUE(isp.high_region());
  EXPECT_EQ(isp.start_address(), 0x3000);
  ASSERT_TRUE(isp.SetIplOption());
  EXPECT_THAT(window.shown,
              ElementsAre("Please unplug/plug the MSR to enter ISP ROM mode.\nAnd press "
                          "'OK' button to continue flashing."));
  ports.writes.clear();
  ASSERT_TRUE(isp.EraseFirmware());
  EXPECT_EQ(ports.Frames(), std::vector<std::string>{":020000030C30BF"});
  ASSERT_TRUE(isp.ProgramAndVerify(image, read_back, window));
  EXPECT_TRUE(
      std::equal(image.begin() + 0x3000, image.end(), reader.state().program.begin() + 0x3000));
  EXPECT_EQ(reader.state().program[0x0000], 0x00);  // the low region was not erased
  EXPECT_EQ(window.position, 0x3FF0);
  EXPECT_TRUE(isp.ExitIsp());
}

TEST_F(IspSequenceTest, HighOnlyFamily2And3HaveNoCodeToBootAndSendNothing) {
  FirmwareImage image = MakeImage("", 0, 512);
  Start("REV 2.30", image, "REV 3.31");
  const int64_t before = clock.NowMs();
  EXPECT_FALSE(isp.SetIplOption());
  EXPECT_THAT(window.shown, ElementsAre("No Firmware Code exist inside Intel hex file"));
  EXPECT_FALSE(isp.EraseFirmware());
  EXPECT_TRUE(ports.writes.empty());
  EXPECT_EQ(clock.NowMs(), before);
}

TEST_F(IspSequenceTest, EmptyImageProgramsNothingOverTheWholeRange) {
  FirmwareImage image = MakeImage("", 0, 0);
  Start("REV 2.30", image, "REV 2.31");
  EXPECT_EQ(isp.end_address(), 0x3FFF);
  ASSERT_TRUE(isp.EraseFirmware());
  EXPECT_EQ(ports.writes.size(), 128u);  // page erase over the full range
  ports.writes.clear();
  EXPECT_TRUE(isp.ProgramAndVerify(image, read_back, window));
  EXPECT_TRUE(ports.writes.empty());
  EXPECT_EQ(window.position, 0x3FF0);
}

// Families 2 and 3 send an unanswered data record once more; family 1 gives up at once.
// Each unanswered counted read costs 45 x 500 ms.
TEST_F(IspSequenceTest, UnansweredDataRecordIsResentOnlyByFamilies2And3) {
  for (const char* revision : {"REV 2.31", "REV 1.31"}) {
    SCOPED_TRACE(revision);
    FirmwareImage image = MakeImage("", 16, 0);
    Start(std::string(revision).replace(6, 2, "30"), image, revision);
    ASSERT_TRUE(isp.EraseFirmware());
    ports.writes.clear();
    reader.faults().isp_silent = true;
    const int64_t before = clock.NowMs();
    EXPECT_FALSE(isp.ProgramAndVerify(image, read_back, window));
    const size_t sends = revision[4] == '1' ? 1 : 2;
    EXPECT_EQ(ports.writes.size(), sends);
    EXPECT_EQ(clock.NowMs() - before, static_cast<int64_t>(sends) * 45 * 500);
    reader.faults().isp_silent = false;
    link.ClosePort();
    reader.state().isp_mode = false;  // the reader is power-cycled for the next dialect
  }
}

}  // namespace
}  // namespace pelgar::firmware
