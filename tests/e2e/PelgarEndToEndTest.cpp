// The pelgar program against pelgar-sim on a pseudo-terminal, as a script would run it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "SimProcess.h"
#include "Subprocess.h"

namespace pelgar::e2e {
namespace {

namespace fs = std::filesystem;

constexpr double kScale = 10;
constexpr int kRunTimeoutMs = 60'000;
constexpr char kCountdown[] = "\n\nThis window will close in 5 seconds.... 5 4 3 2 1 \n";

class PelgarEndToEndTest : public ::testing::Test {
 protected:
  static fs::path MakeTemporaryDirectory() {
    char pattern[] = "/tmp/pelgar-e2e-run-XXXXXX";
    return mkdtemp(pattern) != nullptr ? fs::path(pattern) : fs::path();
  }
  void SetUp() override { ASSERT_FALSE(dir_.empty()); }
  void TearDown() override {
    sim_.Stop();
    fs::remove_all(dir_);
  }

  void StartReader(const std::vector<std::string>& extra = {}) {
    std::vector<std::string> args{"--port", "COM3", "--state", StateFile()};
    args.insert(args.end(), extra.begin(), extra.end());
    ASSERT_TRUE(sim_.Start(args)) << sim_.Errors();
  }
  // Runs pelgar with `args`; returns its exit status, with its output in out_ and err_.
  int Pelgar(const std::vector<std::string>& args) {
    std::vector<std::string> argv{PELGAR_EXE};
    argv.insert(argv.end(), args.begin(), args.end());
    Subprocess pelgar(
        argv, {{"PELGAR_PORT_DIR", sim_.PortDir()}, {"PELGAR_TIME_SCALE", std::to_string(kScale)}},
        dir_.string());
    EXPECT_TRUE(pelgar.started());
    int status = pelgar.Wait(kRunTimeoutMs);
    out_ = pelgar.Output();
    err_ = pelgar.Errors();
    return status;
  }
  std::string Put(const std::string& name, const std::string& text) {
    std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string StateFile() const { return (dir_ / "reader.state").string(); }
  std::string ReaderFlash() {
    sim_.Stop();
    std::ifstream in(StateFile());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  fs::path dir_ = MakeTemporaryDirectory();
  SimProcess sim_{dir_.string(), kScale};
  std::string out_;
  std::string err_;
};

TEST_F(PelgarEndToEndTest, AppliesAConfigurationFileAndCountsDown) {
  StartReader({"--switch", "wedge"});
  // A lower-case name: opened as typed, although the command line is read in capitals.
  std::string path = Put("lobby.dat",
                         "Zyr MSR Configuration File\r\n5d%;+?\r\n"
                         "Zyr MSR Enhanced Configuration File\r\n12H:[\r\n12T:]\r\n13:0F\r\n"
                         "15:FF\r\n");
  EXPECT_EQ(Pelgar({path + ",COM3,19200"}), 0) << err_;
  EXPECT_EQ(out_,
            "Entering command mode...\nEntering command mode...\nEntering command mode...\n"
            "MSR Configuration is updated successfully.\n" +
                std::string(kCountdown));
  std::string flash = ReaderFlash();
  EXPECT_NE(flash.find("option_byte 41"), std::string::npos) << flash;
  EXPECT_NE(flash.find("head_wrapper 5B"), std::string::npos) << flash;
  EXPECT_NE(flash.find("tail_wrapper 5D"), std::string::npos) << flash;
  EXPECT_NE(flash.find("cr_byte 1E"), std::string::npos) << flash;
  EXPECT_NE(flash.find("wedge_language FF"), std::string::npos) << flash;
}

TEST_F(PelgarEndToEndTest, ConfigurationThatWasNotAppliedExitsOne) {
  StartReader();
  EXPECT_EQ(Pelgar({(dir_ / "missing.dat").string() + ",COM3"}), 1);
  EXPECT_NE(out_.find("There was an error found during MSR Configuration update."),
            std::string::npos);
  EXPECT_EQ(out_.find("updated successfully"), std::string::npos);

  // A port whose device is gone: the reader cannot be claimed.
  fs::create_symlink(dir_ / "no-such-device", fs::path(sim_.PortDir()) / "COM4");
  EXPECT_EQ(Pelgar({Put("a.dat", "Zyr MSR Configuration File\r\n5c%;+?\r\n") + ",COM4"}), 1);
  EXPECT_EQ(out_,
            "The MSR has not been claimed by the application.\n   Please be sure the COM port is "
            "not claimed by other applications." +
                std::string(kCountdown));
  EXPECT_NE(err_.find("Error opening com port"), std::string::npos);
}

TEST_F(PelgarEndToEndTest, DebugCommandPrintsTheReadersAnswer) {
  StartReader({"--switch", "wedge"});
  EXPECT_EQ(Pelgar({"/C:0100001118D6,COM3"}), 0) << err_;
  EXPECT_NE(out_.find("Debugging MSR Command...\n\n\nMSR Command Response:\n:0100001118D6.:"),
            std::string::npos)
      << out_;
  EXPECT_TRUE(out_.ends_with("\n." + std::string(kCountdown))) << out_;
}

TEST_F(PelgarEndToEndTest, UsageAndEmptyCommandLine) {
  EXPECT_EQ(Pelgar({"--help"}), 1);
  EXPECT_TRUE(out_.starts_with("About Unattended Mode\n\nMSR Configuration Utility v1.32\n"));
  EXPECT_NE(out_.find("Usage: PELGAR.EXE <CONFIG.DAT>,[<COM PORT>],[<BAUD RATE>]\n"),
            std::string::npos);
  EXPECT_EQ(Pelgar({}), 2);
  EXPECT_NE(err_.find("the desktop window is not available in this build"), std::string::npos);
  EXPECT_TRUE(out_.empty());
}

}  // namespace
}  // namespace pelgar::e2e
