#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "UpdateWindowSupport.h"
#include "ui/FirmwareUpdater.h"

namespace pelgar::ui {
namespace {

using pelgar::testing::MakeImage;
using testing::Box;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using testing::Plain;
using testing::UpdateRig;

constexpr char kTerminated[] = "\nFirmware update is terminated.";
constexpr char kSuccess[] =
    "MSR firmware is updated successfully. Please unplug/plug the MSR to activate the changes.";

std::string Pair(unsigned value) {
  char text[3];
  std::snprintf(text, sizeof text, "%02X", value & 0xFF);
  return text;
}

std::string Checksummed(const std::string& record) {
  unsigned sum = 0;
  for (size_t i = 1; i + 1 < record.size(); i += 2) {
    sum += static_cast<unsigned>(std::stoul(record.substr(i, 2), nullptr, 16));
  }
  return record + Pair(0x100 - (sum & 0xFF));
}

std::string Quad(size_t value) { return Pair(static_cast<unsigned>(value >> 8)) + Pair(value); }

// The frames that program and verify every line with code in [start, end).
std::vector<std::string> ProgramFrames(const firmware::FirmwareImage& image, size_t start,
                                       size_t end, int data_copies) {
  std::vector<std::string> frames;
  for (size_t line = start; line < end; line += 16) {
    bool code = false;
    for (size_t i = 0; i < 16; ++i) code = code || image[line + i] != 0xFF;
    if (!code) continue;
    std::string record = ":10" + Quad(line) + "00";
    for (size_t i = 0; i < 16; ++i) record += Pair(image[line + i]);
    for (int copy = 0; copy < data_copies; ++copy) frames.push_back(Checksummed(record));
    frames.push_back(Checksummed(":05000004" + Quad(line) + Quad(line + 15) + "00") + "U");
  }
  return frames;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const std::vector<std::string> kRevisionFrames = {":0100001110DE", ":020000110200EB",
                                                  ":0100001111DD"};
const std::vector<std::string> kSetupFrames = {":0100001110DE", ":0100001107E7", "UUUUUUUU",
                                               "UUUUUUUU"};
const std::vector<std::string> kFamily1Setup = {":010000020BF2", ":020000050701F1",
                                                ":020000050702F0"};
const std::vector<std::string> kFamily1Ipl = {":020000030400", ":030000030601FC",
                                              ":030000030600FF"};

std::vector<std::string> PageErases(size_t end) {
  std::vector<std::string> frames;
  for (size_t page = 0; page < end; page += 128) {
    frames.push_back(Checksummed(":0300000308" + Quad(page)));
  }
  return frames;
}

std::vector<std::string> Statuses(bool ipl_option) {
  std::vector<std::string> statuses = {"", "Verifying hex file revision successfully.",
                                       "Verifying MSR firmware file revision successfully.",
                                       "Comparing hex revision and MSR firmware file revision...",
                                       "Entering ISP programming setup successfully."};
  if (ipl_option) statuses.push_back("Setting IPL flashing option successfully.");
  for (const char* text :
       {"Erasing MSR firmware successfully.", "Updating the MSR firmware...",
        "Updating MSR firmware successfully.", "Exiting ISP programming mode successfully."}) {
    statuses.push_back(text);
  }
  return statuses;
}

bool ProgramMatches(const UpdateRig& rig, const firmware::FirmwareImage& image, size_t start,
                    size_t end) {
  return std::equal(image.begin() + start, image.begin() + end,
                    rig.reader.state().program.begin() + start);
}

void ExpectEndedCleanly(const UpdateRig& rig) {
  EXPECT_FALSE(rig.updater.port_open());
  EXPECT_FALSE(rig.line.is_open());
  EXPECT_EQ(rig.window.close_changes, (std::vector<bool>{false, true}));
  EXPECT_EQ(rig.window.timer_fires, 1);
  EXPECT_FALSE(rig.window.timer_left_running);
}

TEST(FirmwareUpdate, LowRegionFamily2And3PageEraseNinetySixPages) {
  for (char family : {'2', '3'}) {
    SCOPED_TRACE(family);
    UpdateRig rig(std::string("REV ") + family + ".30");
    firmware::FirmwareImage image = MakeImage(std::string("REV ") + family + ".31", 512, 0);
    EXPECT_EQ(rig.Update(image), kIdCancel);

    EXPECT_EQ(rig.window.shown, 1);
    EXPECT_EQ(rig.window.title, "Updating Firmware to MSR...");
    EXPECT_EQ(rig.window.statuses, Statuses(false));
    EXPECT_THAT(rig.messages.shown, ElementsAre(Box(kSuccess, "MSR Firmware Update", 0x40)));
    std::vector<std::string> expected = Concat({kRevisionFrames,
                                                kSetupFrames,
                                                PageErases(0x2FFF),
                                                ProgramFrames(image, 0, 0x3000, 1),
                                                {":0100001100EE"}});
    EXPECT_EQ(rig.ports.Frames(), expected);
    EXPECT_EQ(PageErases(0x2FFF).size(), 96u);
    EXPECT_EQ(PageErases(0x2FFF).back(), ":03000003082F8043");
    EXPECT_EQ(rig.ports.writes.back().baud, 19200);

    EXPECT_EQ(rig.window.range, std::make_pair(0x0000, 0x2FFF));
    EXPECT_EQ(rig.window.positions.size(), 1u + 0x300);
    EXPECT_EQ(rig.window.positions.back(), 0x2FF0);
    EXPECT_TRUE(ProgramMatches(rig, image, 0, 0x3000));
    EXPECT_EQ(rig.updater.read_back()[0x01FF], image[0x01FF]);
    EXPECT_EQ(rig.updater.read_back()[0x0200], 0xFF);  // skipped lines are not read back
    EXPECT_EQ(rig.reader.state().revision, std::string("REV ") + family + ".31");
    ExpectEndedCleanly(rig);
  }
}

TEST(FirmwareUpdate, LowRegionFamily1EraseAndDoubleRecordsAtNineThousandSixHundred) {
  UpdateRig rig("REV 1.30");
  firmware::FirmwareImage image = MakeImage("REV 1.31", 300, 0);
  rig.Update(image);

  EXPECT_EQ(rig.window.statuses, Statuses(false));
  EXPECT_THAT(rig.messages.shown, ElementsAre(Box(kSuccess, "MSR Firmware Update", 0x40)));
  EXPECT_EQ(rig.ports.Frames(), Concat({kRevisionFrames,
                                        kSetupFrames,
                                        kFamily1Setup,
                                        {":0100000307F5"},
                                        ProgramFrames(image, 0, 0x3000, 2),
                                        {":0100001100EE"}}));
  EXPECT_EQ(rig.ports.writes.back().baud, 9600);
  EXPECT_TRUE(ProgramMatches(rig, image, 0, 0x3000));
  EXPECT_EQ(rig.reader.state().revision, "REV 1.31");
  ExpectEndedCleanly(rig);
}

TEST(FirmwareUpdate, BothRegionsFamily2WaitsForTheOptionAndErasesOnce) {
  UpdateRig rig("REV 2.30");
  firmware::FirmwareImage image = MakeImage("REV 2.31", 64, 256);
  rig.Update(image);

  EXPECT_EQ(rig.window.statuses, Statuses(true));
  EXPECT_THAT(rig.messages.shown, ElementsAre(Box(kSuccess, "MSR Firmware Update", 0x40)));
  EXPECT_EQ(rig.ports.Frames(), Concat({kRevisionFrames,
                                        kSetupFrames,
                                        {":0100000301FB"},
                                        ProgramFrames(image, 0, 0x4000, 1),
                                        {":0100001100EE"}}));
  EXPECT_EQ(rig.window.range, std::make_pair(0x0000, 0x3FFF));
  EXPECT_EQ(rig.window.positions.back(), 0x3FF0);
  EXPECT_TRUE(ProgramMatches(rig, image, 0, 0x4000));
  ExpectEndedCleanly(rig);
}

TEST(FirmwareUpdate, BothRegionsFamily1SetsTheIplOptionAroundAPowerCycle) {
  UpdateRig rig("REV 1.30");
  firmware::FirmwareImage image = MakeImage("REV 1.31", 64, 256);
  rig.Update(image);

  EXPECT_EQ(rig.window.statuses, Statuses(true));
  EXPECT_THAT(rig.messages.shown,
              ElementsAre(Plain("Please unplug/plug the MSR to enter ISP ROM mode.\nAnd press "
                                "'OK' button to continue flashing."),
                          Box(kSuccess, "MSR Firmware Update", 0x40)));
  EXPECT_EQ(rig.ports.Frames(), Concat({kRevisionFrames,
                                        kSetupFrames,
                                        kFamily1Setup,
                                        kFamily1Ipl,
                                        kFamily1Setup,
                                        {":0100000307F5"},
                                        ProgramFrames(image, 0, 0x4000, 2),
                                        {":0100001100EE"}}));
  EXPECT_TRUE(ProgramMatches(rig, image, 0, 0x4000));
  ExpectEndedCleanly(rig);
}

// Every wait of the sequence, measured between the host's writes on virtual time. A reply
// ends after 500 ms of silence; counted reads end as soon as their count has arrived.
TEST(FirmwareUpdate, WaitsBetweenCommandsAreExact) {
  UpdateRig rig("REV 1.30");
  firmware::FirmwareImage image = MakeImage("REV 1.31", 16, 16);
  rig.Update(image);
  const auto& writes = rig.ports.writes;
  std::vector<int64_t> gaps;
  for (size_t i = 1; i < writes.size(); ++i) gaps.push_back(writes[i].at_ms - writes[i - 1].at_ms);
  // clang-format off
  EXPECT_THAT(gaps, ElementsAreArray<int64_t>({
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

constexpr char kSameOrOlder[] =
    "MSR firmware has identical or newer version.\nContinue to update the firmware to MSR?";
constexpr char kCompareFailure[] = "Error comparing hex revision and MSR firmware file revision!";

// Updates that end before ISP mode: what the user sees and what reached the reader.
TEST(FirmwareUpdate, RevisionChecksEndTheUpdateWithTheirMessages) {
  struct Case {
    const char* name;
    const char* reader_revision;
    const char* file_revision;
    bool silent;
    std::vector<testing::ShownMessage> messages;
    std::string failure;
    std::vector<std::string> frames;
  };
  const std::vector<Case> cases = {
      {"silent reader",
       "REV 2.30",
       "REV 2.31",
       true,
       {},
       "Error verifying MSR firmware file revision!",
       {":0100001110DE"}},
      {"no file revision",
       "REV 2.30",
       "",
       false,
       {Box("It could not check the MSR firmware version.\nPlease check the MSR device or "
            "selected COM port and Baud Rate.",
            "Error!", 0x10)},
       "Error verifying hex file revision!",
       {}},
      {"same revision, No",
       "REV 2.31",
       "REV 2.31",
       false,
       {Box(kSameOrOlder, "Warning!", 0x34)},
       kCompareFailure,
       kRevisionFrames},
      {"other family",
       "REV 1.50",
       "REV 2.31",
       false,
       {Box("The selected firmware is NOT supported by the device. \nPlease select other "
            "firmware file.",
            "Error!", 0x10)},
       kCompareFailure,
       kRevisionFrames},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UpdateRig rig(c.reader_revision);
    rig.reader.faults().silent = c.silent;
    rig.Update(MakeImage(c.file_revision, 32, 0));
    EXPECT_EQ(rig.messages.shown, c.messages);
    EXPECT_EQ(rig.window.statuses.back(), c.failure + kTerminated);
    EXPECT_EQ(rig.ports.Frames(), c.frames);
    ExpectEndedCleanly(rig);
  }
}

TEST(FirmwareUpdate, OlderFileAnsweredYesUpdatesAsAnUpgradeWould) {
  UpdateRig rig("REV 2.30");
  rig.messages.answers = {answer::kYes};
  firmware::FirmwareImage image = MakeImage("REV 2.29", 32, 0);
  rig.Update(image);
  EXPECT_THAT(rig.messages.shown, ElementsAre(Box(kSameOrOlder, "Warning!", 0x34),
                                              Box(kSuccess, "MSR Firmware Update", 0x40)));
  EXPECT_EQ(rig.window.statuses, Statuses(false));
  EXPECT_EQ(rig.reader.state().revision, "REV 2.29");
}

TEST(FirmwareUpdate, ReadBackDifferenceShowsAddressAndBothBytes) {
  UpdateRig rig;
  firmware::FirmwareImage image = MakeImage("REV 2.31", 512, 0);
  image[0x0104] = 0xAB;
  rig.reader.faults().isp_mismatch_address = 0x0104;  // the fifth byte of line 0x0100
  rig.Update(image);
  EXPECT_THAT(rig.messages.shown,
              ElementsAre(Plain("Address:0104\nF:ab\nR:54"), Plain("VERIFY FAILED!!!!")));
  EXPECT_EQ(rig.window.statuses.back(), std::string("Error updating MSR firmware!") + kTerminated);
  EXPECT_EQ(rig.ports.Frames().back(), Checksummed(":050000040100010F00") + "U");
  EXPECT_EQ(rig.updater.read_back()[0x0104], 0x54);
  ExpectEndedCleanly(rig);
}

TEST(FirmwareUpdate, UnacknowledgedDataRecordFailsTheUpdate) {
  for (const char* revision : {"REV 1.30", "REV 2.30"}) {
    SCOPED_TRACE(revision);
    UpdateRig rig(revision);
    rig.reader.faults().isp_unacknowledged_address = 0x0040;
    firmware::FirmwareImage image = MakeImage(std::string(revision).replace(6, 2, "31"), 512, 0);
    rig.Update(image);
    EXPECT_EQ(rig.window.statuses.back(),
              std::string("Error updating MSR firmware!") + kTerminated);
    EXPECT_EQ(rig.ports.Frames().back().substr(0, 9), ":10004000");
    EXPECT_THAT(rig.err.str(), HasSubstr("not acknowledged"));
    EXPECT_THAT(rig.messages.shown, ::testing::IsEmpty());
    ExpectEndedCleanly(rig);
  }
}

TEST(FirmwareUpdate, FamilyZeroSendsTheFirstTwoSetupCommandsThenFails) {
  UpdateRig rig("REV 0.30");
  rig.Update(MakeImage("REV 0.31", 32, 0));
  EXPECT_EQ(rig.ports.Frames(), Concat({kRevisionFrames, {":0100001110DE", ":0100001107E7"}}));
  EXPECT_EQ(rig.window.statuses.back(),
            std::string("Error entering ISP programming setup!") + kTerminated);
  EXPECT_EQ(rig.clock.NowMs() - rig.ports.writes.back().at_ms, 500 + 1500);
  ExpectEndedCleanly(rig);
}

TEST(FirmwareUpdate, TwoUpdatesInOneRunFollowTheirOwnImages) {
  UpdateRig rig("REV 2.30");
  firmware::FirmwareImage both = MakeImage("REV 2.31", 64, 64, 1);
  rig.Update(both, "both.hex");
  EXPECT_EQ(rig.reader.state().revision, "REV 2.31");
  EXPECT_TRUE(ProgramMatches(rig, both, 0, 0x4000));

  rig.ports.writes.clear();
  rig.window.statuses.clear();
  firmware::FirmwareImage low = MakeImage("REV 2.32", 48, 0, 9);
  rig.Update(low, "low.hex");
  EXPECT_EQ(rig.window.statuses, Statuses(false));
  EXPECT_EQ(rig.ports.Frames(), Concat({kRevisionFrames,
                                        kSetupFrames,
                                        PageErases(0x2FFF),
                                        ProgramFrames(low, 0, 0x3000, 1),
                                        {":0100001100EE"}}));
  EXPECT_EQ(rig.window.range, std::make_pair(0x0000, 0x2FFF));
  EXPECT_TRUE(ProgramMatches(rig, low, 0, 0x3000));
  EXPECT_EQ(rig.updater.read_back()[0x0040], 0xFF);  // the first update's read-back is gone
  EXPECT_EQ(rig.reader.state().revision, "REV 2.32");
  EXPECT_EQ(rig.line.open_count(), 2);
}

TEST(FirmwareUpdate, PortThatCannotBeOpenedEndsSilentlyAfterTenAttempts) {
  UpdateRig rig;
  rig.line.present_ports.clear();
  EXPECT_EQ(rig.Update(MakeImage("REV 2.31", 32, 0)), 0);
  EXPECT_EQ(rig.clock.NowMs(), 10 * 500);
  EXPECT_FALSE(rig.files.request.has_value());
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.window.shown, 0);
}

TEST(FirmwareUpdate, FileDialogAsksForHexFilesAndCancelClosesThePort) {
  UpdateRig rig;
  rig.files.choice.reset();
  rig.updater.SetPort("COM3", "19200");
  EXPECT_EQ(rig.updater.DoModal(), 0);
  ASSERT_TRUE(rig.files.request.has_value());
  EXPECT_EQ(rig.files.request->title, "Select the Desired MSR Firmware Hex File");
  EXPECT_EQ(rig.files.request->kind, FileDialogRequest::Kind::kOpen);
  EXPECT_EQ(rig.files.request->filters,
            (std::vector<std::pair<std::string, std::string>>{{"Intel Hex (*.hex)", "*.HEX"}}));
  EXPECT_EQ(rig.files.request->max_path_chars, 259u);
  EXPECT_TRUE(rig.files.request->must_exist);
  EXPECT_TRUE(rig.messages.shown.empty());
  EXPECT_EQ(rig.window.shown, 0);
  EXPECT_FALSE(rig.line.is_open());
  EXPECT_EQ(rig.Update(MakeImage("REV 2.31", 32, 0)), kIdCancel);  // the port opens again
}

TEST(FirmwareUpdate, UnreadableOrBadFileShowsItsMessageAndNoWindow) {
  UpdateRig rig;
  rig.updater.SetPort("COM3", "19200");
  rig.files.choice = ::testing::TempDir() + "/pelgar_no_such_folder/absent.hex";
  EXPECT_EQ(rig.updater.DoModal(), 0);
  rig.files.choice =
      testing::WriteTempFile("bad.hex", ":0401000012345678E7\r\n:0401000012345678E6\r\n");
  EXPECT_EQ(rig.updater.DoModal(), 0);
  EXPECT_THAT(
      rig.messages.shown,
      ElementsAre(Box("Error opening MSR firmware hex file.", "Error!", 0x30),
                  Box("Error verifying the opened MSR firmware hex file.", "Error!", 0x30)));
  EXPECT_THAT(rig.err.str(), HasSubstr("Checksum Error at line 2 of "));
  EXPECT_EQ(rig.window.shown, 0);
  EXPECT_FALSE(rig.line.is_open());
}

// The window can be dismissed in the 200 ms before its timer: the update never runs and
// the port opened for it must not stay open.
TEST(FirmwareUpdate, WindowDismissedBeforeTheTimerClosesThePort) {
  UpdateRig rig;
  rig.window.dismiss_before_timer = true;
  EXPECT_EQ(rig.Update(MakeImage("REV 2.31", 32, 0)), kIdCancel);
  EXPECT_EQ(rig.window.timer_fires, 0);
  EXPECT_FALSE(rig.window.timer_left_running);
  EXPECT_TRUE(rig.ports.writes.empty());
  EXPECT_FALSE(rig.line.is_open());
  EXPECT_FALSE(rig.updater.port_open());
}

}  // namespace
}  // namespace pelgar::ui
