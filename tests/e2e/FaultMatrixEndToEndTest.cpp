// Faults that only a reader on a pseudo-terminal shows (the others are the device session's
// and the update window's), against the load and the update window: each run ends in time,
// says what happened, and writes to the reader only what it set out to write.
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

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

// Real milliseconds any cell may take: ten claim attempts against a silent reader at the
// time scale, and the countdown, fit several times over.
constexpr int kCellBoundMs = 8'000;

const std::string kLoad = "lobby.dat,COM3";
const std::string kNotClaimed = "The MSR has not been claimed";
// What loading lobby.dat writes: the configuration, its commit, the wrappers and the CR flags.
const std::vector<std::string> kLoadWrites{":060000110141253b2b3fdd", ":0100001109E5",
                                           ":04000011125B005D21", ":02000011130ECC"};

// How the load fares: the reader claimed, not claimed (nothing is sent), or not run at all,
// for the ISP faults, which act only in ISP mode.
enum class Runs { kClaimed, kUnclaimed, kNotRun };
using enum Runs;
struct Update {
  const char* status_line;  // how the window's status line starts at the end
  const char* message;      // the start of the one closing message; none when empty
  bool programs;            // the reader receives firmware to write into its flash
};
const char* const kUpdatedFirmware = "MSR Firmware Update/40: MSR firmware is updated";
const Update kFirmwareUpdated{"Exiting ISP programming mode successfully.", kUpdatedFirmware, true};
const Update kRevisionUnread{"Error verifying MSR firmware file revision!", "", false};

struct Row {
  const char* fault;  // --fault of pelgar-sim, none when empty
  Runs runs;
  Update update;
};

class FaultMatrixEndToEndTest : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    Put("lobby.dat", kLobby);
    Put("new.hex", pelgar::testing::ToHexText(pelgar::testing::MakeImage("REV 1.31", 48, 0)));
  }

  bool Start(const std::string& fault, std::vector<std::string> extra = {}) {
    std::filesystem::remove(dir_ + "/reader.state");  // a fresh reader for every cell
    extra.emplace_back("--trace");
    if (!fault.empty()) extra.push_back("--fault=" + fault);
    return StartSim(extra);
  }

  // The update window's run; returns its closing messages.
  std::vector<std::string> RunUpdate(std::string* status_line) {
    platform::RealClock clock(platform::RealClock::ScaleFromEnvironment());
    pelgar::testing::ScriptedHost desk(clock);
    desk.choice = dir_ + "/new.hex";
    desk.max_timer_firings = 1;
    platform::PosixPortFactory ports(clock);
    pelgar::testing::ScriptedMessageOutput messages;
    std::ostringstream err;
    ui::FirmwareUpdater updater({ports, clock, messages, desk, desk, desk, desk, err});
    updater.SetPort("COM3", "19200");
    updater.DoModal();
    EXPECT_FALSE(updater.port_open());
    *status_line = desk.Last(ui::update_id::kDialog)->Text(ui::update_id::kStatusLine);
    return messages.shown;
  }
};

// The frames the program sent, from its wire trace, with its open and close lines counted.
struct Traced {
  std::vector<std::string> sent;
  int opened = 0;
  int closed = 0;
};
Traced ReadTrace(const std::string& path) {
  Traced traced;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    const size_t send = line.find(" send :");
    if (send != std::string::npos) traced.sent.push_back(line.substr(send + 6));
    traced.opened += line.find(" open 19200 baud") != std::string::npos;
    traced.closed += line.ends_with(" close");
  }
  return traced;
}

// Each run ends in time, says what happened and writes only what it meant to; a technician's
// trace of every load holds every frame the reader received, its sessions opened and closed.
TEST_F(FaultMatrixEndToEndTest, EachFaultOfTheLineEndsCleanlyInEveryRun) {
  const Row rows[] = {
      {"", kClaimed, kFirmwareUpdated},
      {"silent", kUnclaimed, kRevisionUnread},
      {"late-commit=3000", kClaimed, kFirmwareUpdated},
      // Stray bytes move the "." off the position a Get Config reply is judged by.
      {"noise", kUnclaimed, kRevisionUnread},
      {"baud=9600", kUnclaimed, kRevisionUnread},
      // The lines before the faulty one are in flash already.
      {"isp-mismatch=0010",
       kNotRun,
       {"Error updating MSR firmware!", "00: Address:0010\nF:71\nR:8e", true}},
  };
  platform::ScopedEnv trace("PELGAR_TRACE", (dir_ + "/wire.trace").c_str());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.fault);
    const bool claimed = row.runs == kClaimed;
    if (row.runs != kNotRun) {
      ASSERT_TRUE(Start(row.fault)) << sim_->Errors();
      std::filesystem::remove(dir_ + "/wire.trace");
      Subprocess pelgar({PELGAR_EXE, kLoad}, dir_, "pelgar");
      EXPECT_EQ(pelgar.Wait(kCellBoundMs), claimed ? 0 : 1) << pelgar.Errors();
      const std::string printed = claimed ? "MSR Configuration is updated" : kNotClaimed;
      EXPECT_NE(pelgar.Output().find(printed), std::string::npos) << pelgar.Output();
      const std::vector<std::string> received = StopSim();
      if (std::string(row.fault) == "baud=9600") {  // the reader's trace says why it heard none
        EXPECT_NE(sim_->Output().find(" (at 19200 baud; the reader runs at 9600)\n"),
                  std::string::npos);
      }
      EXPECT_EQ(Writes(received), claimed ? kLoadWrites : std::vector<std::string>{});
      if (claimed) {
        const Traced traced = ReadTrace(dir_ + "/wire.trace");
        EXPECT_EQ(traced.sent, received);
        EXPECT_GE(traced.opened, 2);  // Get Config, then Set Config's own session
        EXPECT_EQ(traced.closed, traced.opened);
      }
    }
    ASSERT_TRUE(Start(row.fault, {"--family", "1"})) << sim_->Errors();
    const auto start = std::chrono::steady_clock::now();
    std::string status_line;
    const std::vector<std::string> shown = RunUpdate(&status_line);
    EXPECT_LT(ElapsedMs(start), kCellBoundMs);
    EXPECT_EQ(status_line.rfind(row.update.status_line, 0), 0u) << status_line;
    const std::string message(row.update.message);
    EXPECT_EQ(shown.empty() ? "" : shown[0].substr(0, message.size()), message);
    StopSim();
    EXPECT_EQ(ProgramsFlash(sim_->Output()), row.update.programs);
    // The reader now runs the new firmware and says so.
    EXPECT_EQ(ReadFile(dir_ + "/reader.state").find("REV 1.31") != std::string::npos,
              message == kUpdatedFirmware);
  }
}

// The reader goes away in the middle of a run (the simulator killed and its port entry
// gone): both runs end in time with a message, the load with a failure status.
TEST_F(FaultMatrixEndToEndTest, APortThatVanishesMidRunEndsItWithAMessage) {
  // Waits for the reader to receive `frame`, then pulls the plug.
  auto pull_the_plug_at = [this](const std::string& frame) {
    for (int waited = 0; waited < kCellBoundMs; waited += 2) {
      if (sim_->Output().find("] <- " + frame) != std::string::npos) break;
      usleep(2000);
    }
    sim_->Stop(SIGKILL);
    std::filesystem::remove(dir_ + "/ports/COM3");
  };
  // The plug goes while setting: the summary says the reader was lost or the load failed,
  // depending on where it goes.
  ASSERT_TRUE(Start("")) << sim_->Errors();
  Subprocess pelgar({PELGAR_EXE, kLoad}, dir_, "pelgar");
  pull_the_plug_at(":060000110141253b2b3fdd");
  EXPECT_EQ(pelgar.Wait(kCellBoundMs), 1) << pelgar.Output();
  const std::string out = pelgar.Output();
  EXPECT_TRUE(out.find(kNotClaimed) != std::string::npos ||
              out.find("There was an error found") != std::string::npos)
      << out;
  ASSERT_TRUE(Start("", {"--family", "1"})) << sim_->Errors();
  const auto start = std::chrono::steady_clock::now();
  // Once the reader has gone into ISP mode (its ISP frames are not traced): the window says
  // which step failed.
  std::thread plug([&] { pull_the_plug_at(":0100001107E7"); });
  std::string status_line;
  RunUpdate(&status_line);
  plug.join();
  EXPECT_LT(ElapsedMs(start), kCellBoundMs);
  EXPECT_EQ(status_line.rfind("Error ", 0), 0u) << status_line;
}

}  // namespace
}  // namespace pelgar::e2e
