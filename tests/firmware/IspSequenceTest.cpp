#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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

// The update window as the sequence sees it: plain messages and the progress bar.
struct RecordingWindow : PlainMessages, UpdateProgress {
  void ShowPlainMessage(std::string_view text) override { shown.emplace_back(text); }
  void SetRange(int low, int high) override { range = {low, high}; }
  void SetPosition(int at) override { position = at; }
  std::vector<std::string> shown;
  std::pair<int, int> range;
  int position = -1;
};

// The steps one by one, for the shapes the window never gets to (a high-only or empty
// image carries no revision at 0x1FE0), against a reader of the file's family.
class IspSequenceTest : public ::testing::Test {
 protected:
  void Start(const FirmwareImage& image, const std::string& file_revision) {
    reader.state().revision = file_revision.substr(0, 5) + ".30";
    reader.state().program.fill(0x00);
    reader.state().isp_mode = false;
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
  FirmwareImage read_back = MakeImage("", 0, 0);
};

TEST_F(IspSequenceTest, HighOnlyFamily1ReplacesOnlyTheHighRegion) {
  const FirmwareImage image = MakeImage("", 0, 512);
  Start(image, "REV 1.31");
  ASSERT_TRUE(isp.SetIplOption());  // with its power-cycle prompt
  ports.writes.clear();
  ASSERT_TRUE(isp.EraseFirmware() && isp.ProgramAndVerify(image, read_back, window));
  EXPECT_EQ(ports.Frames()[0], ":020000030C30BF");
  EXPECT_TRUE(
      std::equal(image.begin() + 0x3000, image.end(), reader.state().program.begin() + 0x3000));
  EXPECT_EQ(reader.state().program[0x0000], 0x00);  // the low region was not erased
  EXPECT_EQ(window.range, std::make_pair(0x3000, 0x3FFF));
  EXPECT_EQ(window.position, 0x3FF0);
}

// Without low-region code a reader of families 2 and 3 would have nothing to boot.
TEST_F(IspSequenceTest, HighOnlyFamily2And3IsRefusedBeforeAnythingIsSent) {
  for (const char* revision : {"REV 2.31", "REV 3.31"}) {
    SCOPED_TRACE(revision);
    Start(MakeImage("", 0, 512), revision);
    const int64_t before = clock.NowMs();
    EXPECT_FALSE(isp.SetIplOption());
    EXPECT_FALSE(isp.EraseFirmware());
    EXPECT_TRUE(ports.writes.empty());
    EXPECT_EQ(clock.NowMs(), before);
    link.ClosePort();
  }
  EXPECT_THAT(window.shown, ElementsAre("No Firmware Code exist inside Intel hex file",
                                        "No Firmware Code exist inside Intel hex file"));
}

TEST_F(IspSequenceTest, EmptyImageErasesAll128PagesAndProgramsNothing) {
  const FirmwareImage image = MakeImage("", 0, 0);
  Start(image, "REV 2.31");
  ASSERT_TRUE(isp.EraseFirmware() && isp.ProgramAndVerify(image, read_back, window));
  EXPECT_EQ(ports.writes.size(), 128u);
  EXPECT_EQ(ports.writes.back().bytes, pelgar::testing::Record("03000003083F80"));
  EXPECT_EQ(window.position, 0x3FF0);
}

// Families 2 and 3 send an unanswered data record once more; family 1 gives up at once.
// Each unanswered counted read waits 500 ms for each of the 45 characters it asked for.
TEST_F(IspSequenceTest, UnansweredDataRecordIsSentAgainOnlyByFamilies2And3) {
  for (auto [revision, sends] : {std::pair{"REV 2.31", 2}, {"REV 1.31", 1}}) {
    SCOPED_TRACE(revision);
    const FirmwareImage image = MakeImage("", 16, 0);
    Start(image, revision);
    ASSERT_TRUE(isp.EraseFirmware());
    ports.writes.clear();
    reader.faults().isp_silent = true;
    const int64_t before = clock.NowMs();
    EXPECT_FALSE(isp.ProgramAndVerify(image, read_back, window));
    EXPECT_EQ(ports.writes.size(), static_cast<size_t>(sends));
    EXPECT_EQ(clock.NowMs() - before, sends * 45 * 500);
    EXPECT_THAT(err.str(), ::testing::HasSubstr("No reply to the data record: :10000000"));
    reader.faults().isp_silent = false;
    link.ClosePort();
  }
}

// A reply shorter than the last must not show what the last one left in the buffer: a
// read-back would compare stale bytes and pass a line that was never read.
TEST_F(IspSequenceTest, CountedReplyHoldsOnlyWhatThisReadBrought) {
  Start(MakeImage("", 16, 0), "REV 2.31");
  const std::string read_back_query = pelgar::testing::Record("050000040000000F00") + "U";
  char reply[100];
  ASSERT_TRUE(link.CountedExchange(read_back_query, reply, 61));
  EXPECT_EQ(std::strlen(reply), 61u);
  reader.faults().isp_silent = true;
  EXPECT_FALSE(link.CountedExchange(read_back_query, reply, 61));
  EXPECT_EQ(std::string(reply, 62), std::string(62, '\0'));
}

}  // namespace
}  // namespace pelgar::firmware
