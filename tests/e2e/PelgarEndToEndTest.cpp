// The pelgar program against pelgar-sim on a pseudo-terminal, as a script would run it.
#include <fstream>
#include <string>

#include "EndToEndTest.h"

namespace pelgar::e2e {
namespace {

using PelgarEndToEndTest = EndToEndTest;

// Every sync of the simulator's disk takes 200 ms, longer than the 62.5 ms a host waits for
// a reply: the load must still succeed, and the flash must be on disk once the reader ends.
// A lower-case name is opened as typed, although the command line is read in capitals.
TEST_F(PelgarEndToEndTest, LoadOnASlowDiskDelaysNoReplyAndLosesNoFlash) {
  ASSERT_TRUE(StartSim({"--switch=wedge"}, {"env", "LD_PRELOAD=" PELGAR_SLOW_FSYNC,
                                            "ASAN_OPTIONS=verify_asan_link_order=0"}))
      << sim_->Errors();
  Put("lobby.dat", kLobby);
  Subprocess pelgar({PELGAR_EXE, "lobby.dat,COM3,19200"}, dir_, "pelgar");
  EXPECT_EQ(pelgar.Wait(60'000), 0) << pelgar.Errors();
  EXPECT_EQ(pelgar.Output(),
            "Entering command mode...\nEntering command mode...\nEntering command mode...\n"
            "MSR Configuration is updated successfully.\n\n\n"
            "This window will close in 5 seconds.... 5 4 3 2 1 \n");
  StopSim();
  const std::string flash = ReadFile(dir_ + "/reader.state");
  for (const char* line : {"option_byte 41\n", "head_wrapper 5B\n", "cr_byte 1E\n"}) {
    EXPECT_NE(flash.find(line), std::string::npos) << line << flash;
  }
}

}  // namespace
}  // namespace pelgar::e2e
