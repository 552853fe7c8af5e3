// Faults that only a reader on a pseudo-terminal shows (the others, those of ISP mode too, are
// the device session's and the update window's), against the load and the update window.
#include <chrono>
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

// What loading lobby.dat writes: the configuration, its commit, the wrappers and the CR flags.
const std::vector<std::string> kLoadWrites{":060000110141253b2b3fdd", ":0100001109E5",
                                           ":04000011125B005D21", ":02000011130ECC"};

class FaultMatrixEndToEndTest : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    temp_.Put("lobby.dat", kLobby);
    temp_.Put("new.hex", pelgar::testing::ToHexText(pelgar::testing::MakeImage("REV 1.31", 48, 0)));
  }

  // A fresh reader for every cell, on a slow disk: every sync takes 200 ms, longer than the
  // 62.5 ms a host waits for a reply, which must not wait with it.
  bool Start(const std::string& fault, std::vector<std::string> extra = {}) {
    std::filesystem::remove(dir_ + "/reader.state");
    extra.emplace_back("--trace");
    if (!fault.empty()) extra.push_back("--fault=" + fault);
    return StartSim(
        extra, {"env", "LD_PRELOAD=" PELGAR_SLOW_FSYNC, "ASAN_OPTIONS=verify_asan_link_order=0"});
  }

  // The update window's run, which ends in time; returns its closing messages.
  std::vector<std::string> RunUpdate(std::string* status_line) {
    const auto start = std::chrono::steady_clock::now();
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
    EXPECT_LT(ElapsedMs(start), kCellBoundMs);
    EXPECT_FALSE(updater.port_open());
    *status_line = desk.Last(ui::update_id::kDialog)->Text(ui::update_id::kStatusLine);
    return messages.shown;
  }
};

// Each run ends in time, says what happened and writes only what it meant to: a reader that
// answers takes the whole configuration and the new firmware, and has them on disk once it
// ends; one that does not takes none of either. A technician's trace of every load holds every
// frame the reader received, its sessions opened and closed. (The file's name is opened as
// typed, although the command line is read in capitals.)
TEST_F(FaultMatrixEndToEndTest, EachFaultOfTheLineEndsCleanlyInEveryRun) {
  const std::pair<const char*, bool> rows[] = {
      // --fault of pelgar-sim (none when empty), and whether the reader answers.
      {"", true},
      {"silent", false},
      {"late-commit=3000", true},
      // Stray bytes move the "." off the position a Get Config reply is judged by.
      {"noise", false},
      {"baud=9600", false},
  };
  platform::ScopedEnv trace("PELGAR_TRACE", (dir_ + "/wire.trace").c_str());
  for (const auto& [fault, answers] : rows) {
    SCOPED_TRACE(fault);
    ASSERT_TRUE(Start(fault)) << sim_->Errors();
    std::filesystem::remove(dir_ + "/wire.trace");
    Subprocess pelgar({PELGAR_EXE, "lobby.dat,COM3"}, dir_, "pelgar");
    EXPECT_EQ(pelgar.Wait(kCellBoundMs), answers ? 0 : 1) << pelgar.Errors();
    const char* printed = answers ? "mode...\nMSR Configuration is updated successfully.\n\n\n"
                                    "This window will close in 5 seconds.... 5 4 3 2 1 \n"
                                  : "The MSR has not been claimed";
    EXPECT_NE(pelgar.Output().find(printed), std::string::npos) << pelgar.Output();
    const std::vector<std::string> received = StopSim();
    if (std::string(fault) == "baud=9600") {  // the reader's trace says why it heard none
      EXPECT_NE(sim_->Output().find(" (at 19200 baud; the reader runs at 9600)\n"),
                std::string::npos);
    }
    EXPECT_EQ(Writes(received), answers ? kLoadWrites : std::vector<std::string>{});
    if (answers) {
      const std::string flash = ReadFile(dir_ + "/reader.state");
      EXPECT_NE(flash.find("option_byte 41\n"), std::string::npos) << flash;
      const std::string wire = ReadFile(dir_ + "/wire.trace");
      EXPECT_EQ(Frames(wire, " send "), received);
      const auto lines = [&wire](const std::string& end) {
        int n = 0;
        for (size_t at = wire.find(end); at != std::string::npos; at = wire.find(end, at + 1)) ++n;
        return n;
      };
      EXPECT_GE(lines(" open 19200 baud\n"), 2);  // Get Config, then Set Config's own session
      EXPECT_EQ(lines(" close\n"), lines(" open 19200 baud\n"));
    }

    ASSERT_TRUE(Start(fault, {"--family", "1"})) << sim_->Errors();
    std::string status_line;
    EXPECT_EQ(RunUpdate(&status_line).size(), answers ? 1u : 0u);  // the success box
    const char* status = answers ? "Exiting ISP programming mode successfully."
                                 : "Error verifying MSR firmware file revision!";
    EXPECT_EQ(status_line.rfind(status, 0), 0u) << status_line;
    StopSim();
    // The reader now runs the new firmware and says so.
    EXPECT_EQ(ReadFile(dir_ + "/reader.state").find("REV 1.31") != std::string::npos, answers);
  }
}

// The reader goes away in the middle of an update, once it has gone into ISP mode (the
// simulator killed and its port entry gone): the run ends in time, and the window says which
// step failed. (The device session's test loses its port while setting.)
TEST_F(FaultMatrixEndToEndTest, APortThatVanishesMidUpdateEndsItWithAMessage) {
  ASSERT_TRUE(Start("", {"--family", "1"})) << sim_->Errors();
  std::thread plug([this] {
    for (int waited = 0; waited < kCellBoundMs; waited += 2) {
      if (sim_->Output().find("] <- :0100001107E7") != std::string::npos) break;
      usleep(2000);
    }
    sim_->Stop(SIGKILL);
    std::filesystem::remove(dir_ + "/ports/COM3");
  });
  std::string status_line;
  RunUpdate(&status_line);
  plug.join();
  EXPECT_EQ(status_line.rfind("Error ", 0), 0u) << status_line;
}

}  // namespace
}  // namespace pelgar::e2e
