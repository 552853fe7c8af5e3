#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UpdateWindowSupport.h"

namespace pelgar::ui {
namespace {

using pelgar::testing::MakeImage;
using pelgar::testing::ProgramFrames;
using pelgar::testing::Record;
using testing::Box;
using testing::UpdateRig;
using Lines = std::vector<std::string>;  // frames, status texts or messages
using ::testing::StartsWith;

const std::string kTerminated = "\nFirmware update is terminated.";
const std::string kSuccess =
    Box("MSR firmware is updated successfully. Please unplug/plug the MSR to activate the changes.",
        "MSR Firmware Update", 0x40);
const std::string kSameOrOlder =
    Box("MSR firmware has identical or newer version.\nContinue to update the firmware to MSR?",
        "Warning!", 0x34);
const std::string kUnplug =
    "Please unplug/plug the MSR to enter ISP ROM mode.\nAnd press 'OK' button to continue "
    "flashing.";
const std::string kCompareFailure = "Error comparing hex revision and MSR firmware file revision!";
const std::string kUpdateFailure = "Error updating MSR firmware!";

const Lines kRevisionFrames = {":0100001110DE", ":020000110200EB", ":0100001111DD"};
const Lines kSetupFrames = {":0100001110DE", ":0100001107E7", "UUUUUUUU", "UUUUUUUU"};
const Lines kFamily1Setup = {":010000020BF2", ":020000050701F1", ":020000050702F0"};
const Lines kFamily1Ipl = {":020000030400", ":030000030601FC", ":030000030600FF"};
const std::string kExit = ":0100001100EE";

Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Lines PageErases() {
  Lines frames;
  for (unsigned page = 0; page < 0x2FFF; page += 128) {
    frames.push_back(Record("0300000308" + pelgar::testing::Hex(page, 4)));
  }
  return frames;
}

Lines Statuses(bool ipl_option) {
  Lines statuses = {"",
                    "Verifying hex file revision successfully.",
                    "Verifying MSR firmware file revision successfully.",
                    "Comparing hex revision and MSR firmware file revision...",
                    "Entering ISP programming setup successfully.",
                    "Setting IPL flashing option successfully.",
                    "Erasing MSR firmware successfully.",
                    "Updating the MSR firmware...",
                    "Updating MSR firmware successfully.",
                    "Exiting ISP programming mode successfully."};
  if (!ipl_option) statuses.erase(statuses.begin() + 5);
  return statuses;
}

bool Programmed(const UpdateRig& rig, const firmware::FirmwareImage& image, size_t end) {
  return std::equal(image.begin(), image.begin() + end, rig.reader.state().program.begin());
}

void ExpectEndedCleanly(const UpdateRig& rig) {
  EXPECT_FALSE(rig.updater.port_open());
  EXPECT_FALSE(rig.line.is_open());
  EXPECT_EQ(rig.close_changes, (std::vector<bool>{false, true}));
  EXPECT_EQ(rig.timer_fires, 1);
  EXPECT_FALSE(rig.timer_left_running);
}

// Low region only, or both regions, in each dialect (and an older file the user accepts):
// the frames, the status texts and messages, the progress bar, the reader's memory.
TEST(UpdateWindow, CompleteUpdatesFollowTheirDialect) {
  const Lines page_erases = PageErases();
  ASSERT_EQ(page_erases.size(), 96u);
  EXPECT_EQ(page_erases.back(), ":03000003082F8043");
  struct Case {
    const char* reader_revision;
    const char* file_revision;
    size_t high_bytes;
    Lines before_programming;  // after the ISP setup
    int copies;                // of each data record
    int32_t baud;
    Lines messages;
  };
  const Lines family1_erase = Concat({kFamily1Setup, {":0100000307F5"}});
  // clang-format off
  const Case cases[] = {
      {"REV 1.30", "REV 1.31", 0, family1_erase, 2, 9600, {kSuccess}},
      {"REV 1.30", "REV 1.31", 256, Concat({kFamily1Setup, kFamily1Ipl, family1_erase}), 2, 9600,
       {kUnplug, kSuccess}},
      {"REV 2.30", "REV 2.31", 0, page_erases, 1, 19200, {kSuccess}},
      {"REV 3.30", "REV 3.31", 0, page_erases, 1, 19200, {kSuccess}},
      {"REV 2.30", "REV 2.31", 256, {":0100000301FB"}, 1, 19200, {kSuccess}},
      {"REV 2.30", "REV 2.29", 0, page_erases, 1, 19200, {kSameOrOlder, kSuccess}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.file_revision << ", high " << c.high_bytes);
    UpdateRig rig(c.reader_revision);
    rig.answers = {answer::kYes};
    const auto image = MakeImage(c.file_revision, 300, c.high_bytes);
    EXPECT_EQ(rig.Update(image), kIdCancel);
    const bool both = c.high_bytes > 0;
    const size_t end = both ? 0x4000 : 0x3000;
    EXPECT_EQ(rig.ports.Frames(), Concat({kRevisionFrames,
                                          kSetupFrames,
                                          c.before_programming,
                                          ProgramFrames(image, 0, end, c.copies),
                                          {kExit}}));
    EXPECT_EQ(rig.ports.writes.back().baud, c.baud);
    EXPECT_EQ(rig.statuses, Statuses(both));
    EXPECT_EQ(rig.messages, c.messages);
    EXPECT_EQ(rig.range, std::make_pair(0, static_cast<int>(end - 1)));
    ASSERT_EQ(rig.positions.size(), 1 + end / 16);
    EXPECT_EQ(rig.positions.back(), static_cast<int>(end - 16));
    EXPECT_TRUE(Programmed(rig, image, end));
    EXPECT_EQ(rig.updater.read_back()[0x0200], 0xFF);  // lines without code are not read
    EXPECT_EQ(rig.reader.state().revision, c.file_revision);
    ExpectEndedCleanly(rig);
  }
}

// Every wait of the sequence, measured between the host's writes on virtual time. A reply
// ends after 500 ms of silence; counted reads end as soon as their count has arrived.
TEST(UpdateWindow, WaitsBetweenCommandsAreExact) {
  UpdateRig rig("REV 1.30");
  rig.Update(MakeImage("REV 1.31", 16, 16));
  const auto& writes = rig.ports.writes;
  std::vector<int64_t> gaps;
  for (size_t i = 1; i < writes.size(); ++i) gaps.push_back(writes[i].at_ms - writes[i - 1].at_ms);
  // clang-format off
  EXPECT_THAT(gaps, ::testing::ElementsAreArray<int64_t>({
      500, 500, 500 + 100,        // revision check, then the ISP setup's first command
      500 + 100,                  // :0100001107E7
      500 + 1500 + 100,           // first UUUUUUUU
      500 + 100,                  // second
      500, 500, 500,              // family 1 setup frames
      500 + 1000, 500, 500,       // option wait, IPL frames
      500 + 100, 500 + 100, 500,  // after the prompt, after :010000020BF2
      500,                        // erase
      500 + 600, 0, 0,            // line 0x0000 twice and its read-back
      0, 0, 0,                    // 0x1FE0
      0, 0, 0,                    // 0x3FF0
      0}));                       // exit
  // clang-format on
  EXPECT_EQ(rig.clock.NowMs() - writes.back().at_ms, 500);
}

TEST(UpdateWindow, FailuresEndTheUpdateWithTheirMessagesAndStatus) {
  struct Case {
    const char* reader_revision;
    const char* file_revision;
    sim::Faults faults;
    Lines messages;
    std::string failure;
    int frames;              // sent in all; -1: not counted
    std::string last_frame;  // how the last one begins
  };
  // clang-format off
  const Case cases[] = {
      {"REV 2.30", "REV 2.31", {.silent = true}, {},
       "Error verifying MSR firmware file revision!", 1, ":0100001110DE"},
      {"REV 2.30", "", {},
       {Box("It could not check the MSR firmware version.\nPlease check the MSR device or "
            "selected COM port and Baud Rate.", "Error!", 0x10)},
       "Error verifying hex file revision!", 0, ""},
      {"REV 2.31", "REV 2.31", {}, {kSameOrOlder}, kCompareFailure, 3, ":0100001111DD"},
      {"REV 1.50", "REV 2.31", {},
       {Box("The selected firmware is NOT supported by the device. \nPlease select other "
            "firmware file.", "Error!", 0x10)},
       kCompareFailure, 3, ":0100001111DD"},
      {"REV 0.30", "REV 0.31", {}, {}, "Error entering ISP programming setup!", 5,
       ":0100001107E7"},
      {"REV 2.30", "REV 2.31", {.isp_mismatch_address = 0x0104},
       {"Address:0104\nF:24\nR:db", "VERIFY FAILED!!!!"}, kUpdateFailure, -1,
       ":050000040100010F00"},
      {"REV 2.30", "REV 2.31", {.isp_unacknowledged_address = 0x0040}, {}, kUpdateFailure, -1,
       ":10004000"},
      {"REV 1.30", "REV 1.31", {.isp_unacknowledged_address = 0x0040}, {}, kUpdateFailure, -1,
       ":10004000"},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failure + " " + c.reader_revision);
    UpdateRig rig(c.reader_revision);
    rig.reader.faults() = c.faults;
    rig.Update(MakeImage(c.file_revision, 512, 0));
    EXPECT_EQ(rig.messages, c.messages);
    EXPECT_EQ(rig.statuses.back(), c.failure + kTerminated);
    const std::string last = rig.ports.writes.empty() ? "" : rig.ports.writes.back().bytes;
    EXPECT_THAT(last, StartsWith(c.last_frame));
    EXPECT_TRUE(c.frames < 0 || rig.ports.writes.size() == static_cast<size_t>(c.frames));
    ExpectEndedCleanly(rig);
  }
}

// The second update follows its own image, not what the first one left behind.
TEST(UpdateWindow, TwoUpdatesInOneRunFollowTheirOwnImages) {
  UpdateRig rig("REV 2.30");
  const auto both = MakeImage("REV 2.31", 64, 64, 1);
  rig.Update(both, "both.hex");
  EXPECT_TRUE(Programmed(rig, both, 0x4000));
  rig.statuses.clear();
  const auto low = MakeImage("REV 2.32", 48, 0, 9);
  rig.Update(low, "low.hex");
  EXPECT_EQ(rig.statuses, Statuses(false));
  EXPECT_EQ(rig.range, std::make_pair(0x0000, 0x2FFF));
  EXPECT_TRUE(Programmed(rig, low, 0x3000));
  EXPECT_EQ(rig.updater.read_back()[0x3FF0], 0xFF);  // read back by the first update only
  EXPECT_EQ(rig.reader.state().revision, "REV 2.32");
}

// A port that cannot be opened, a cancelled file dialog, a missing or a bad file: no
// window, the messages of their own, and no port left open.
TEST(UpdateWindow, EndingsBeforeTheWindowLeaveNoPortOpen) {
  UpdateRig rig;
  rig.updater.SetPort("COM3", "19200");
  EXPECT_EQ(rig.updater.DoModal(), 0);  // cancelled
  ASSERT_TRUE(rig.request.has_value());
  EXPECT_EQ(rig.request->title, "Select the Desired MSR Firmware Hex File");
  EXPECT_EQ(rig.request->filters[0].first + rig.request->filters[0].second,
            "Intel Hex (*.hex)*.HEX");
  EXPECT_TRUE(rig.request->kind == FileDialogRequest::Kind::kOpen && rig.request->must_exist);
  rig.choice = ::testing::TempDir() + "/pelgar_no_such_folder/absent.hex";
  EXPECT_EQ(rig.updater.DoModal(), 0);
  rig.choice = testing::WriteTempFile("bad.hex", ":0401000012345678E7\n:0401000012345678E6\n");
  EXPECT_EQ(rig.updater.DoModal(), 0);
  EXPECT_THAT(rig.err.str(), ::testing::HasSubstr("Checksum Error at line 2 of "));
  EXPECT_EQ(rig.messages,
            (Lines{Box("Error opening MSR firmware hex file.", "Error!", 0x30),
                   Box("Error verifying the opened MSR firmware hex file.", "Error!", 0x30)}));
  EXPECT_FALSE(rig.line.is_open());

  rig.request.reset();
  rig.line.present_ports.clear();
  const int64_t before = rig.clock.NowMs();
  EXPECT_EQ(rig.updater.DoModal(), 0);
  EXPECT_EQ(rig.clock.NowMs() - before, 10 * 500);  // ten attempts
  EXPECT_FALSE(rig.request.has_value());
  EXPECT_EQ(rig.messages.size(), 2u);
  EXPECT_TRUE(rig.statuses.empty());  // no window
}

// The window can be dismissed in the 200 ms before its timer: the update never runs and
// the port opened for it must not stay open.
TEST(UpdateWindow, DismissedBeforeTheTimerClosesThePort) {
  UpdateRig rig;
  rig.dismiss_before_timer = true;
  EXPECT_EQ(rig.Update(MakeImage("REV 2.31", 32, 0)), kIdCancel);
  EXPECT_EQ(rig.timer_fires, 0);
  EXPECT_FALSE(rig.timer_left_running);
  EXPECT_TRUE(rig.ports.writes.empty());
  EXPECT_FALSE(rig.line.is_open());
}

}  // namespace
}  // namespace pelgar::ui
