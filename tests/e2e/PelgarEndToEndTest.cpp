// The pelgar program against pelgar-sim on a pseudo-terminal, as a script would run it.
#include <fstream>
#include <string>

#include "EndToEndTest.h"

namespace pelgar::e2e {
namespace {

const std::string kCountdown = "\n\nThis window will close in 5 seconds.... 5 4 3 2 1 \n";

class PelgarEndToEndTest : public EndToEndTest {
 protected:
  // Runs pelgar with `command_line` as its one argument (none when empty); returns its
  // exit status, with what it printed in out_ and err_.
  int Pelgar(const std::string& command_line) {
    std::vector<std::string> argv{PELGAR_EXE};
    if (!command_line.empty()) argv.push_back(command_line);
    Subprocess pelgar(argv, dir_ + "/pelgar");
    const int status = pelgar.Wait(60'000);
    out_ = pelgar.Output();
    err_ = pelgar.Errors();
    return status;
  }

  std::string out_;
  std::string err_;
};

TEST_F(PelgarEndToEndTest, AppliesAConfigurationFileAndCountsDown) {
  ASSERT_TRUE(StartSim({"--switch", "wedge"})) << sim_->Errors();
  // A lower-case name: opened as typed, although the command line is read in capitals.
  const std::string path = dir_ + "/lobby.dat";
  std::ofstream(path, std::ios::binary)
      << "Zyr MSR Configuration File\r\n5d%;+?\r\nZyr MSR Enhanced Configuration File\r\n"
         "12H:[\r\n12T:]\r\n13:0F\r\n15:FF\r\n";
  EXPECT_EQ(Pelgar(path + ",COM3,19200"), 0) << err_;
  EXPECT_EQ(out_,
            "Entering command mode...\nEntering command mode...\nEntering command mode...\n"
            "MSR Configuration is updated successfully.\n" +
                kCountdown);
  EXPECT_EQ(sim_->Stop(), 0);
  const std::string flash = ReadFile(StatePath());
  for (const char* line : {"option_byte 41\n", "head_wrapper 5B\n", "tail_wrapper 5D\n",
                           "cr_byte 1E\n", "wedge_language FF\n"}) {
    EXPECT_NE(flash.find(line), std::string::npos) << line << flash;
  }
}

TEST_F(PelgarEndToEndTest, ExitStatusAndConsoleOfEachRun) {
  const struct {
    const char* sim_option;
    std::string command_line;
    int status;
    std::string printed;
  } cases[] = {
      {"--switch=wedge", "/C:0100001118D6,COM3", 0,
       "Debugging MSR Command...\n\n\nMSR Command Response:\n:0100001118D6.:03000011001801D3\n."},
      {"--fault=silent-after=3", "/c:0100001118d6", 1,
       "\nError processing the command.\nMSR Command Response:\n\n\nPlease unplug/plug the MSR"},
      {"--switch=serial", "/tmp/no/such.dat,COM3", 1,
       "There was an error found during MSR Configuration update.\n   Please make sure"},
      {"--switch=serial", "HELP", 1, "About Unattended Mode\n\nMSR Configuration Utility v1.32\n"},
      {"--switch=serial", "", 2, "pelgar: the desktop window is not available in this build.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command_line);
    ASSERT_TRUE(StartSim({c.sim_option})) << sim_->Errors();
    EXPECT_EQ(Pelgar(c.command_line), c.status) << err_;
    EXPECT_NE((out_ + err_).find(c.printed), std::string::npos) << out_ << err_;
    EXPECT_EQ(out_.ends_with(kCountdown), !c.command_line.empty());  // every unattended run
  }
}

}  // namespace
}  // namespace pelgar::e2e
