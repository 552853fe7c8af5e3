#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/FirmwareImages.h"
#include "support/RecordingPorts.h"
#include "support/ScriptedHost.h"
#include "support/ScriptedMessageOutput.h"
#include "support/TestEnvironment.h"
#include "ui/host/ControlStore.h"
#include "ui/update/FirmwareUpdater.h"
#include "ui/update/UpdateWindowIds.h"

namespace pelgar::ui {
namespace {

std::string WriteTempFile(const std::string& name, const std::string& text) {
  static const platform::TempDir temp;
  return temp.Put(name, text);
}

// A reader of `revision` with old firmware (all 0x00) on virtual time, and the program around
// the updater on the scripted host.
class UpdateRig {
 public:
  explicit UpdateRig(std::string_view revision = "REV 2.30") {
    reader.state().revision = std::string(revision);
    reader.state().program.fill(0x00);
    updater.SetPort("COM3", "19200");
  }
  int Update(const firmware::FirmwareImage& image, const std::string& name = "firmware.hex") {
    host.choice = WriteTempFile(name, pelgar::testing::ToHexText(image));
    return updater.DoModal();
  }

  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory line{reader, clock};
  pelgar::testing::RecordingPorts ports{line, clock};
  pelgar::testing::ScriptedMessageOutput messages;
  std::ostringstream err;
  pelgar::testing::ScriptedHost host{clock};
  std::vector<std::string>& statuses = host.texts[update_id::kStatusLine];
  std::pair<int, int>& range = host.ranges[update_id::kProgressBar];
  std::vector<int>& positions = host.positions[update_id::kProgressBar];
  FirmwareUpdater updater{{ports, clock, messages, host, host, host, host, err}};
};

using pelgar::testing::MakeImage;
using Lines = std::vector<std::string>;  // frames, status texts or messages

const std::string kSuccess =
    "MSR Firmware Update/40: MSR firmware is updated successfully. Please unplug/plug the MSR "
    "to activate the changes.";
const std::string kSameOrOlder =
    "Warning!/34: MSR firmware has identical or newer version.\nContinue to update the firmware "
    "to MSR?";
const std::string kUnplug =
    "00: Please unplug/plug the MSR to enter ISP ROM mode.\nAnd press 'OK' button to continue "
    "flashing.";
const std::string kCompareFailure = "Error comparing hex revision and MSR firmware file revision!";
const Lines kRevisionFrames = {":0100001110DE", ":020000110200EB", ":0100001111DD"};
const Lines kSetupFrames = {":0100001110DE", ":0100001107E7", "UUUUUUUU", "UUUUUUUU"};
const Lines kFamily1Setup = {":010000020BF2", ":020000050701F1", ":020000050702F0"};
const Lines kFamily1Ipl = {":020000030400", ":030000030601FC", ":030000030600FF"};

Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// clang-format off
Lines Statuses(bool ipl_option) {
  Lines statuses = {"", "Verifying hex file revision successfully.",
      "Verifying MSR firmware file revision successfully.",
      "Comparing hex revision and MSR firmware file revision...",
      "Entering ISP programming setup successfully.", "Setting IPL flashing option successfully.",
      "Erasing MSR firmware successfully.", "Updating the MSR firmware...",
      "Updating MSR firmware successfully.", "Exiting ISP programming mode successfully."};
  if (!ipl_option) statuses.erase(statuses.begin() + 5);
  return statuses;
}
// clang-format on

// Low region only or both, in each dialect (family 3 takes family 2's way); the older file
// is accepted by the user.
TEST(UpdateWindow, CompleteUpdatesFollowTheirDialect) {
  Lines page_erases;
  for (unsigned page = 0; page < 0x2FFF; page += 128) {
    page_erases.push_back(pelgar::testing::Record("0300000308" + pelgar::testing::Hex(page, 4)));
  }
  ASSERT_EQ(page_erases.back(), ":03000003082F8043");  // the 96th
  // Reader and file revisions, high-region bytes, frames before programming, messages.
  const std::tuple<const char*, const char*, size_t, Lines, Lines> cases[] = {
      // clang-format off
      {"REV 1.30", "REV 1.31", 256, Concat({kFamily1Setup, kFamily1Ipl, kFamily1Setup,
       {":0100000307F5"}}), {kUnplug, kSuccess}},
      {"REV 2.30", "REV 2.31", 0, page_erases, {kSuccess}},
      {"REV 2.30", "REV 2.29", 256, {":0100000301FB"}, {kSameOrOlder, kSuccess}},
      // clang-format on
  };
  for (const auto& [reader_revision, file_revision, high_bytes, before_programming, messages] :
       cases) {
    SCOPED_TRACE(::testing::Message() << file_revision << ", high " << high_bytes);
    UpdateRig rig(reader_revision);
    rig.messages.answers = {answer::kYes};
    const auto image = MakeImage(file_revision, 300, high_bytes);
    EXPECT_EQ(rig.Update(image), kIdCancel);
    const size_t end = high_bytes > 0 ? 0x4000 : 0x3000;
    const bool family1 = reader_revision[4] == '1';  // sends each record twice, at 9600
    const Lines programming = pelgar::testing::ProgramFrames(image, 0, end, family1 ? 2 : 1);
    EXPECT_EQ(
        rig.ports.Frames(),
        Concat(
            {kRevisionFrames, kSetupFrames, before_programming, programming, {":0100001100EE"}}));
    EXPECT_EQ(rig.ports.writes.back().baud, family1 ? 9600 : 19200);
    EXPECT_EQ(rig.statuses, Statuses(high_bytes > 0));
    EXPECT_EQ(rig.messages.shown, messages);
    EXPECT_EQ(rig.range, std::make_pair(0, static_cast<int>(end - 1)));
    EXPECT_THAT(rig.positions, ::testing::SizeIs(1 + end / 16));
    EXPECT_EQ(rig.positions.back(), static_cast<int>(end - 16));
    // Close disabled, fired once, Close enabled again; no timer and no port left behind.
    EXPECT_EQ(rig.host.events + (rig.line.is_open() ? " open" : ""), "-T+");
  }
}

// Every wait of the sequence, measured between the host's writes on virtual time. A reply
// ends after 500 ms of silence; counted reads end as soon as their count has arrived.
TEST(UpdateWindow, WaitsBetweenCommandsAreExact) {
  UpdateRig rig("REV 1.30");
  rig.Update(MakeImage("REV 1.31", 16, 16));
  std::string gaps;
  for (size_t i = 1; i < rig.ports.writes.size(); ++i) {
    gaps += std::to_string(rig.ports.writes[i].at_ms - rig.ports.writes[i - 1].at_ms) + " ";
  }
  // Revision check; ISP setup (100 more each, 1500 more before the first "UUUUUUUU"); family
  // 1 setup; option wait and IPL frames; after the prompt and :010000020BF2; erase; line
  // 0x0000 twice (600 more) and its read-back; 0x1FE0 and 0x3FF0 alike; exit.
  EXPECT_EQ(gaps,
            "500 500 600 600 2100 600 500 500 500 1500 500 500 600 600 500 500 1100 0 0 0 0 0 0 0 "
            "0 0 ");
  EXPECT_EQ(rig.clock.NowMs() - rig.ports.writes.back().at_ms, 500);
}

TEST(UpdateWindow, FailuresEndTheUpdateWithTheirMessagesAndStatus) {
  // Reader and file revisions, faults, messages, failure, how the last frame sent begins.
  using Failure =
      std::tuple<const char*, const char*, sim::Faults, Lines, std::string, const char*>;
  const Failure cases[] = {
      // clang-format off
      {"REV 2.30", "REV 2.31", {.silent = true}, {}, "Error verifying MSR firmware file revision!",
       ":0100001110DE"},
      {"REV 2.30", "", {}, {"Error!/10: It could not check the MSR firmware version.\nPlease "
       "check the MSR device or selected COM port and Baud Rate."},
       "Error verifying hex file revision!", "none"},
      {"REV 2.31", "REV 2.31", {}, {kSameOrOlder}, kCompareFailure, ":0100001111DD"},
      {"REV 1.50", "REV 2.31", {}, {"Error!/10: The selected firmware is NOT supported by the "
       "device. \nPlease select other firmware file."}, kCompareFailure, ":0100001111DD"},
      {"REV 0.30", "REV 0.31", {}, {}, "Error entering ISP programming setup!", ":0100001107E7"},
      {"REV 2.30", "REV 2.31", {.isp_mismatch_address = 0x0104}, {"00: Address:0104\nF:24\nR:db",
       "00: VERIFY FAILED!!!!"}, "Error updating MSR firmware!", ":050000040100010F00"},
      {"REV 2.30", "REV 2.31", {.isp_unacknowledged_address = 0x40}, {},
       "Error updating MSR firmware!", ":10004000"},
      // clang-format on
  };
  for (const auto& [reader_revision, file_revision, faults, messages, failure, last_frame] :
       cases) {
    SCOPED_TRACE(failure + " " + reader_revision);
    UpdateRig rig(reader_revision);
    rig.reader.faults() = faults;
    rig.Update(MakeImage(file_revision, 512, 0));
    EXPECT_EQ(rig.messages.shown, messages);
    EXPECT_EQ(rig.statuses.back(), failure + "\nFirmware update is terminated.");
    EXPECT_THAT(rig.ports.writes.empty() ? "none" : rig.ports.writes.back().bytes,
                ::testing::StartsWith(last_frame));
    EXPECT_EQ(rig.host.events + (rig.line.is_open() ? " open" : ""), "-T+");
  }
}

// A second update must not keep anything of the first: its high region, or its read-back.
TEST(UpdateWindow, TwoUpdatesInOneRunFollowTheirOwnImages) {
  UpdateRig rig("REV 2.30");
  rig.Update(MakeImage("REV 2.31", 64, 64, 1), "both.hex");
  const auto low = MakeImage("REV 2.32", 48, 0, 9);
  rig.Update(low, "low.hex");
  EXPECT_EQ(rig.range, std::make_pair(0x0000, 0x2FFF));
  EXPECT_TRUE(std::equal(low.begin(), low.begin() + 0x3000, rig.reader.state().program.begin()));
  EXPECT_EQ(rig.updater.read_back()[0x3FF0], 0xFF);
}

// The window dismissed in the 200 ms before its timer, a cancelled file dialog, a missing
// file, a bad file, a port that cannot be opened: no update, and no port left open, and
// none held while a box waits.
TEST(UpdateWindow, EndingsBeforeTheUpdateLeaveNoPortOpen) {
  UpdateRig rig;
  std::string port_at_box;
  rig.messages.on_show = [&] { port_at_box += rig.line.is_open() ? "open " : "closed "; };
  rig.host.max_timer_firings = 0;
  EXPECT_EQ(rig.Update(MakeImage("REV 2.31", 32, 0)), kIdCancel);
  EXPECT_EQ(rig.host.events + std::to_string(rig.ports.writes.size() + rig.line.is_open()), "-0");
  rig.statuses.clear();
  rig.host.choice.reset();
  EXPECT_EQ(rig.updater.DoModal(), 0);  // cancelled
  ASSERT_TRUE(rig.host.request && rig.host.request->must_exist);
  const std::string absent = ::testing::TempDir() + "/pelgar_no_such_folder/absent.hex";
  rig.host.choice = absent;
  EXPECT_EQ(rig.updater.DoModal(), 0);
  const std::string bad = WriteTempFile("bad.hex", ":0401000012345678E7\n:0401000012345678E6\n");
  rig.host.choice = bad;
  EXPECT_EQ(rig.updater.DoModal(), 0);
  rig.host.request.reset();
  rig.line.present_ports.clear();
  const int64_t before = rig.clock.NowMs();
  EXPECT_EQ(rig.updater.DoModal(), 0);
  EXPECT_EQ(rig.clock.NowMs() - before, 10 * 500);  // ten attempts, and no file dialog
  // Each box says why after a blank line.
  EXPECT_EQ(
      rig.messages.shown,
      (Lines{"Error!/30: Error opening MSR firmware hex file.\n\n" + absent + ": no such file",
             "Error!/30: Error verifying the opened MSR firmware hex file.\n\nChecksum Error "
             "at line 2 of " +
                 bad + ": the checksum is E6, the record adds up to E7"}));
  EXPECT_EQ(port_at_box, "closed closed ");
  EXPECT_FALSE(rig.host.request.has_value());
  EXPECT_EQ(std::to_string(rig.statuses.size()) + (rig.line.is_open() ? " open" : ""), "0");
}

}  // namespace
}  // namespace pelgar::ui
