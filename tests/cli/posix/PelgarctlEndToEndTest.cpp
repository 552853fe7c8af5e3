// pelgarctl against pelgar-sim processes on pseudo-terminals, as a script runs it.
#include "e2e/EndToEndTest.h"
#include "support/FirmwareImages.h"

namespace pelgar::e2e {
namespace {

using PelgarctlEndToEndTest = EndToEndTest;

// Two readers at once ask for a power cycle, which a script's empty input answers at once; the
// flashed readers then say which revision they run. (The JSON lines, and each dialect's
// steps: see pelgarctl's run test and the update window's.)
TEST_F(PelgarctlEndToEndTest, FlashesTwoReadersAtOnce) {
  for (const std::string port : {"COM3", "COM4"}) {
    sims_[port] = std::make_unique<Subprocess>(
        std::vector<std::string>{PELGAR_SIM_EXE, "--port", port, "--family", "1"}, dir_,
        "sim" + port);
  }
  for (auto& [port, sim] : sims_) ASSERT_TRUE(Listening(*sim)) << port;
  temp_.Put("one.hex", testing::ToHexText(testing::MakeImage("REV 1.31", 48, 32)));
  temp_.Put("two.hex", testing::ToHexText(testing::MakeImage("REV 2.31", 48, 0)));
  Subprocess flash({PELGARCTL_EXE, "-p", "COM3,COM4", "flash", "one.hex"}, dir_, "flash");
  EXPECT_EQ(flash.Wait(60'000), 0) << flash.Errors();
  EXPECT_NE(flash.Output().find("COM4: REV 1.30 -> REV 1.31, verified"), std::string::npos)
      << flash.Output();
  Subprocess again({PELGARCTL_EXE, "-q", "-p", "COM3,COM4", "flash", "two.hex"}, dir_, "again");
  EXPECT_EQ(again.Wait(60'000), 1);
  EXPECT_NE(again.Errors().find("COM4: firmware REV 2.31 is not for this reader (REV 1.31)"),
            std::string::npos)
      << again.Errors();
}

}  // namespace
}  // namespace pelgar::e2e
