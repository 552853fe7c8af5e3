// The pelgar program against pelgar-sim on a pseudo-terminal, as a script would run it.
#include <fstream>
#include <string>

#include "EndToEndTest.h"
#include "version.h"

namespace pelgar::e2e {
namespace {

using PelgarEndToEndTest = EndToEndTest;

TEST_F(PelgarEndToEndTest, ExitStatusAndConsoleOfEachRun) {
  std::ofstream(dir_ + "/lobby.dat", std::ios::binary)
      << "Zyr MSR Configuration File\r\n5d%;+?\r\nZyr MSR Enhanced Configuration File\r\n"
         "12H:[\r\n12T:]\r\n13:0F\r\n15:FF\r\n";
  const struct {
    const char* sim_option;
    std::string command_line;  // pelgar's one argument, none when empty
    int status;
    std::string printed;
  } cases[] = {
      // A lower-case name: opened as typed, although the command line is read in capitals.
      {"--switch=wedge", "lobby.dat,COM3,19200", 0,
       "Entering command mode...\nEntering command mode...\nEntering command mode...\n"
       "MSR Configuration is updated successfully.\n"},
      {"--switch=wedge", "/C:0100001118D6,COM3", 0,
       "Debugging MSR Command...\n\n\nMSR Command Response:\n:0100001118D6.:03000011001801D3\n."},
      {"--fault=silent-after=3", "/c:0100001118d6", 1,
       "\nError processing the command.\nMSR Command Response:\n\n\nPlease unplug/plug the MSR"},
      {"--switch=serial", "no/such.dat,COM3", 1,
       "There was an error found during MSR Configuration update.\n   Please make sure"},
      {"--switch=serial", "HELP", 1,
       "About Unattended Mode\n\nMSR Configuration Utility v" + std::string(kVersion) + "\n"},
      // No arguments asks for the window: without a display, one line and status 2 instead
      // of the toolkit's abort, whether no display is named or the named one is not there.
      {"--switch=serial", "", 2, "pelgar: cannot open the desktop window: no display"},
      {"--switch=serial", "DISPLAY=:97", 2, "pelgar: cannot open the desktop window: no display"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command_line);
    const bool started = StartSim({c.sim_option});
    EXPECT_TRUE(started) << sim_->Errors();
    if (!started) continue;
    std::vector<std::string> argv{PELGAR_EXE, c.command_line};
    const bool window = c.command_line.empty() || c.command_line.starts_with("DISPLAY=");
    if (window) {
      argv = {"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", PELGAR_EXE};
      if (!c.command_line.empty()) argv.insert(argv.end() - 1, c.command_line);
    }
    Subprocess pelgar(argv, dir_, "pelgar");
    EXPECT_EQ(pelgar.Wait(60'000), c.status) << pelgar.Errors();
    const std::string out = pelgar.Output();
    EXPECT_NE((out + pelgar.Errors()).find(c.printed), std::string::npos) << out;
    // Every unattended run ends with the countdown.
    EXPECT_EQ(out.ends_with("\n\nThis window will close in 5 seconds.... 5 4 3 2 1 \n"), !window);
  }
  EXPECT_EQ(sim_->Stop(), 0);
  const std::string flash = ReadFile(dir_ + "/reader.state");
  for (const char* line : {"option_byte 41\n", "head_wrapper 5B\n", "tail_wrapper 5D\n",
                           "cr_byte 1E\n", "wedge_language FF\n"}) {
    EXPECT_NE(flash.find(line), std::string::npos) << line << flash;
  }
}

// Every sync of the simulator's disk takes 200 ms, longer than the 62.5 ms a host waits for
// a reply: the load must still succeed, and the flash must be on disk once the reader ends.
TEST_F(PelgarEndToEndTest, SlowDiskDelaysNoReplyAndLosesNoFlash) {
  ASSERT_TRUE(StartSim({"--switch=wedge"}, {"env", "LD_PRELOAD=" PELGAR_SLOW_FSYNC,
                                            "ASAN_OPTIONS=verify_asan_link_order=0"}))
      << sim_->Errors();
  std::ofstream(dir_ + "/slow.dat", std::ios::binary)
      << "Zyr MSR Configuration File\r\n5d%;+?\r\nZyr MSR Enhanced Configuration File\r\n"
         "12H:<\r\n12T:>\r\n13:0F\r\n15:01\r\n";
  Subprocess pelgar({PELGAR_EXE, "slow.dat,COM3"}, dir_, "pelgar");
  EXPECT_EQ(pelgar.Wait(60'000), 0) << pelgar.Output() << pelgar.Errors();
  EXPECT_EQ(sim_->Stop(), 0);
  const std::string flash = ReadFile(dir_ + "/reader.state");
  for (const char* line : {"option_byte 41\n", "head_wrapper 3C\n", "tail_wrapper 3E\n",
                           "cr_byte 1E\n", "wedge_language 01\n"}) {
    EXPECT_NE(flash.find(line), std::string::npos) << line << flash;
  }
}

}  // namespace
}  // namespace pelgar::e2e
