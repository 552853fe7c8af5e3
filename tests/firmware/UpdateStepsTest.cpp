// The update's steps one by one: revision checks and the ISP sequence, against a reader of
// the file's family. (The update window's tests run them in order with exact frames.)
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "firmware/IspSequence.h"
#include "firmware/RevisionCheck.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/FirmwareImages.h"
#include "support/RecordingPorts.h"

namespace pelgar::firmware {
namespace {

using pelgar::testing::MakeImage;

TEST(RevisionCheck, FileRevisionTakesEveryByteButZero) {
  FirmwareImage image = MakeImage("REV 2.30", 0, 0);
  image[0x1FE3] = 0;     // a zero byte adds nothing: the text closes up
  image[0x1FE7] = 0xFF;  // a byte without code is a character
  std::string revision;
  EXPECT_FALSE(VerifyFileRevision(image, revision));
  EXPECT_EQ(revision, "REV2.3\xFF");
}

TEST(RevisionCheck, ComparesAsStringsWithinTheFamily) {
  using enum RevisionComparison;
  const std::tuple<const char*, RevisionComparison, int> cases[] =
      {
          {"REV 2.31", kUpgrade, 2},     {"REV 2.30", kSameOrOlder, 2},
          {"REV 2.29", kSameOrOlder, 2}, {"REV 1.50", kUnsupported, 1},
          {"REV 3.99", kUnsupported, 3}, {"REV 0.31", kUnsupported, 0},
          {"REV A.30", kUnsupported, 0}, {"REV 4.30", kUnsupported, 0},
          {"REV ", kUnsupported, 0},     {"REV 2.3", kSameOrOlder, 2},
          {"REV 2.3\xFF", kUpgrade, 2},  // "REV 2.3" is older, as a prefix; bytes compare unsigned
      };
  for (auto [file, comparison, family] : cases) {
    EXPECT_EQ(CompareRevisions(file, "REV 2.30"), comparison) << file;
    EXPECT_EQ(FirmwareFamily(file), family) << file;
  }
}

// The update window as the sequence sees it: plain messages and the progress bar.
struct RecordingWindow : PlainMessages, UpdateProgress {
  void ShowPlainMessage(std::string_view text) override { shown.emplace_back(text); }
  void SetRange(int low, int high) override { progress = {low, high, -1}; }
  void SetPosition(int at) override { progress[2] = at; }
  std::vector<std::string> shown;
  std::array<int, 3> progress{};  // range and position
};

class UpdateStepsTest : public ::testing::Test {
 protected:
  // Switches the reader, of the file's family, to ISP mode for `image`.
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

// Without low-region code a reader of families 2 and 3 would have nothing to boot: they
// refuse before sending anything. Family 1 replaces the high region only.
TEST_F(UpdateStepsTest, HighOnlyImageReplacesTheHighRegionOfFamily1Only) {
  const FirmwareImage image = MakeImage("", 0, 512);
  for (const char* revision : {"REV 2.31", "REV 3.31"}) {
    Start(image, revision);
    const int64_t before = clock.NowMs();
    EXPECT_FALSE(isp.SetIplOption() || isp.EraseFirmware()) << revision;
    EXPECT_TRUE(ports.writes.empty() && clock.NowMs() == before) << revision;
    link.ClosePort();
  }
  EXPECT_EQ(window.shown,
            std::vector<std::string>(2, "No Firmware Code exist inside Intel hex file"));
  Start(image, "REV 1.31");
  ASSERT_TRUE(isp.SetIplOption());  // with its power-cycle prompt
  ports.writes.clear();
  ASSERT_TRUE(isp.EraseFirmware() && isp.ProgramAndVerify(image, read_back, window));
  EXPECT_EQ(ports.Frames()[0], ":020000030C30BF");
  EXPECT_TRUE(std::equal(image.begin() + 0x3000, image.end(), &reader.state().program[0x3000]));
  EXPECT_EQ(reader.state().program[0x0000], 0x00);  // the low region was not erased
  EXPECT_EQ(window.progress, (std::array{0x3000, 0x3FFF, 0x3FF0}));
}

TEST_F(UpdateStepsTest, EmptyImageErasesAll128PagesAndProgramsNothing) {
  const FirmwareImage image = MakeImage("", 0, 0);
  Start(image, "REV 2.31");
  ASSERT_TRUE(isp.EraseFirmware() && isp.ProgramAndVerify(image, read_back, window));
  EXPECT_EQ(ports.writes.size(), 128u);
  EXPECT_EQ(ports.writes.back().bytes, pelgar::testing::Record("03000003083F80"));
  EXPECT_EQ(window.progress, (std::array{0x0000, 0x3FFF, 0x3FF0}));
}

// Families 2 and 3 send an unanswered data record once more; family 1 gives up at once.
// Each unanswered counted read waits 500 ms for each of the 45 characters it asked for.
TEST_F(UpdateStepsTest, UnansweredDataRecordIsSentAgainOnlyByFamilies2And3) {
  const FirmwareImage image = MakeImage("", 16, 0);
  for (auto [revision, sends] : {std::pair{"REV 2.31", 2}, {"REV 1.31", 1}}) {
    SCOPED_TRACE(revision);
    Start(image, revision);
    const bool erased = isp.EraseFirmware();
    EXPECT_TRUE(erased);
    if (!erased) continue;
    ports.writes.clear();
    reader.faults().isp_silent = true;
    const int64_t before = clock.NowMs();
    EXPECT_FALSE(isp.ProgramAndVerify(image, read_back, window));
    EXPECT_EQ(ports.writes.size(), static_cast<size_t>(sends)) << revision;
    EXPECT_EQ(clock.NowMs() - before, sends * 45 * 500);
    EXPECT_NE(err.str().find("No reply to the data record: :10000000"), std::string::npos);
    reader.faults().isp_silent = false;
    link.ClosePort();
  }
}

// A revision shorter than its eight bytes ends at the first zero byte of the reply.
TEST_F(UpdateStepsTest, ReaderRevisionEndsAtItsFirstZeroByte) {
  reader.state().revision = std::string("REV 2.3\0", 8);
  ASSERT_TRUE(link.OpenPort("COM3", "19200"));
  std::string revision;
  EXPECT_TRUE(ReadDeviceRevision(link, revision));
  EXPECT_EQ(revision, "REV 2.3");
}

// A reply shorter than the last must not show what the last one left in the buffer: a
// read-back would compare stale bytes and pass a line that was never read.
TEST_F(UpdateStepsTest, CountedReplyHoldsOnlyWhatThisReadBrought) {
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
