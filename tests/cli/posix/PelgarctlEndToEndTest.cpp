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

// Two readers at once ask for a power cycle, which a script's empty input answers at once; the
// flashed readers then say which revision they run. (Each dialect's steps: see the update
// window's test.)
TEST_F(PelgarctlEndToEndTest, FlashesTwoReadersAtOnce) {
  StartSims({"COM3", "COM4"}, {"--family", "1"});
  Put("one.hex", testing::ToHexText(testing::MakeImage("REV 1.31", 48, 32)));
  Put("two.hex", testing::ToHexText(testing::MakeImage("REV 2.31", 48, 0)));
  EXPECT_EQ(Ctl({"-j", "-p", "COM3,COM4", "flash", "one.hex"}), 0) << out_;
  EXPECT_EQ(objects_["COM4"]["to"], "REV 1.31") << out_;
  EXPECT_EQ(Ctl({"-p", "COM3,COM4", "-q", "flash", "two.hex"}), 1);
  EXPECT_NE(err_.find("COM4: firmware REV 2.31 is not for this reader (REV 1.31)"),
            std::string::npos)
      << err_;
}

}  // namespace
}  // namespace pelgar::e2e
