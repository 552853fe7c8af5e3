// pelgarctl against several pelgar-sim processes on pseudo-terminals, as a script runs it.
#include <nlohmann/json.hpp>
#include <sstream>

#include "e2e/EndToEndTest.h"
#include "support/FirmwareImages.h"

namespace pelgar::e2e {
namespace {

class PelgarctlEndToEndTest : public EndToEndTest {
 protected:
  // pelgar-sim on each of `ports` with its flash in dir_/<port>.state and its trace kept.
  void StartSims(const std::vector<std::string>& ports, std::vector<std::string> extra = {}) {
    for (const std::string& port : ports) {
      std::vector<std::string> argv{PELGAR_SIM_EXE, "--port",  port,
                                    "--trace",      "--state", port + ".state"};
      argv.insert(argv.end(), extra.begin(), extra.end());
      sims_[port] = std::make_unique<Subprocess>(argv, dir_, "sim" + port);
    }
    for (const std::string& port : ports) ASSERT_TRUE(Listening(*sims_[port])) << port;
  }
  // pelgarctl with `args`; its JSON lines by port when it printed any.
  int Ctl(const std::vector<std::string>& args) {
    std::vector<std::string> argv{PELGARCTL_EXE};
    argv.insert(argv.end(), args.begin(), args.end());
    Subprocess ctl(argv, dir_, "ctl");
    const int status = ctl.Wait(60'000);
    out_ = ctl.Output();
    err_ = ctl.Errors();
    objects_.clear();
    std::istringstream lines(out_);
    for (std::string line; std::getline(lines, line);) {
      if (!line.starts_with("{")) continue;
      nlohmann::json object = nlohmann::json::parse(line);
      objects_[object["port"]] = object;
    }
    return status;
  }

  std::string out_, err_;
  std::map<std::string, nlohmann::json> objects_;
};

// An absent and a silent reader fail alone; the others are cloned from one of them, and a
// reader changed behind pelgarctl's back then differs.
TEST_F(PelgarctlEndToEndTest, ClonesOneReaderToThreeAndVerifiesThem) {
  StartSims({"COM3", "COM4", "COM5", "COM6"}, {"--switch", "wedge"});
  StartSims({"COM8"}, {"--fault", "silent"});
  EXPECT_EQ(Ctl({"-j", "-p", "COM3,COM7,COM8", "info"}), 1);
  ASSERT_EQ(objects_.size(), 3u) << out_;
  EXPECT_EQ(objects_["COM3"]["revision"], "REV 2.30");
  EXPECT_EQ(objects_["COM3"]["switch"], "wedge");
  EXPECT_TRUE(objects_["COM7"]["error"].get<std::string>().starts_with("not claimed: "));
  EXPECT_EQ(objects_["COM8"]["result"], "failed");
  EXPECT_EQ(objects_["COM8"]["error"],
            "not claimed: COM8: Failed to enter command mode; tried 10 times");

  Put("lobby.dat", kLobby);
  ASSERT_EQ(Ctl({"-p", "COM3", "apply", "lobby.dat"}), 0) << err_;
  ASSERT_EQ(Ctl({"-p", "COM3", "get", "-o", "golden.dat"}), 0) << err_;
  EXPECT_EQ(Ctl({"-p", "COM4,COM5", "-p", "COM6", "apply", "golden.dat", "--verify"}), 0) << err_;
  // Changed behind pelgarctl's back: track 2 off, stored to flash.
  ASSERT_EQ(Ctl({"-p", "COM5", "send", ":060000110149253b2b3fd5"}), 0) << err_;
  ASSERT_EQ(Ctl({"-p", "COM5", "send", ":0100001109E5"}), 0) << err_;
  EXPECT_EQ(Ctl({"-q", "-p", "COM3,COM4,COM5,COM6", "verify", "golden.dat"}), 3);
  EXPECT_EQ(out_, "COM5: differs: track2_enabled: file \"on\", reader \"off\"\n");
  for (const char* port : {"COM3", "COM4", "COM6"}) {
    EXPECT_EQ(ReadFile(dir_ + "/" + port + ".state"), ReadFile(dir_ + "/COM3.state")) << port;
  }
}

// Two readers of each family at once: family 1 asks for a power cycle, which a script's empty
// input answers at once. (One dialect after the other: four updates at once on a busy
// two-core machine can miss the simulator's 62.5 ms.)
TEST_F(PelgarctlEndToEndTest, FlashesTwoReadersOfEachDialectAtOnce) {
  StartSims({"COM3", "COM4"}, {"--family", "1"});
  StartSims({"COM5", "COM6"}, {"--family", "2"});
  Put("one.hex", testing::ToHexText(testing::MakeImage("REV 1.31", 48, 32)));
  Put("two.hex", testing::ToHexText(testing::MakeImage("REV 2.31", 48, 0)));
  EXPECT_EQ(Ctl({"-p", "COM3,COM4", "flash", "one.hex"}), 0) << err_;
  EXPECT_EQ(Ctl({"-j", "-p", "COM5,COM6", "flash", "two.hex"}), 0) << out_;
  EXPECT_EQ(objects_["COM6"]["to"], "REV 2.31") << out_;
  EXPECT_EQ(Ctl({"-p", "COM3,COM4,COM5,COM6", "-q", "flash", "two.hex"}), 1);
  EXPECT_NE(err_.find("COM3: firmware REV 2.31 is not for this reader (REV 1.31)"),
            std::string::npos)
      << err_;
  EXPECT_NE(err_.find("COM6: the reader has REV 2.31"), std::string::npos) << err_;
}

}  // namespace
}  // namespace pelgar::e2e
