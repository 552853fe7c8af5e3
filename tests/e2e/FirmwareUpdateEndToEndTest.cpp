// A whole firmware update through the update window's code and the program's own serial port
// against the pelgar-sim executable: the baud change and ISP framing on a real tty.
#include <fstream>

#include "e2e/EndToEndTest.h"
#include "platform/RealClock.h"
#include "platform/posix/PosixSerialPort.h"
#include "support/FirmwareImages.h"
#include "support/ScriptedMessageOutput.h"
#include "ui/ControlStore.h"
#include "ui/FirmwareUpdater.h"
#include "ui/UpdateWindowIds.h"

namespace pelgar::e2e {
namespace {

// The desktop's part: a window that fires its timer once after the interval, a user who
// picks `hex` and presses OK.
class Desktop : public ui::DialogHost,
                public ui::WindowTimer,
                public ui::CloseItem,
                public ui::FileDialogs {
 public:
  explicit Desktop(std::string hex) : hex_(std::move(hex)) {}
  int RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) override {
    ui::ControlStore window(dialog);
    window.SetEvents(&logic);
    logic.OnOpening(window);
    if (timer_ != nullptr) {
      clock.SleepMs(interval_ms_);
      timer_->OnTimer(timer_id_);
    }
    status = window.GetText(ui::kStatusLineId, 200);
    if (!window.closed()) window.PressEscape();
    logic.OnClosed();
    return window.result();
  }
  void SetTimer(int id, int64_t interval_ms, ui::TimerEvents& target) override {
    timer_id_ = id, interval_ms_ = interval_ms, timer_ = &target;
  }
  void KillTimer(int) override { timer_ = nullptr; }
  void EnableClose(bool) override {}
  std::optional<std::string> Choose(const ui::FileDialogRequest&) override { return hex_; }

  platform::RealClock clock{platform::RealClock::ScaleFromEnvironment()};
  std::string status;

 private:
  std::string hex_;
  ui::TimerEvents* timer_ = nullptr;
  int timer_id_ = 0;
  int64_t interval_ms_ = 0;
};

using FirmwareUpdateEndToEndTest = EndToEndTest;

TEST_F(FirmwareUpdateEndToEndTest, UpdatesPelgarSimOverItsPseudoTerminal) {
  ASSERT_TRUE(StartSim({"--family", "1"}));
  const std::string hex = dir_ + "/new.hex";
  std::ofstream(hex, std::ios::binary)
      << pelgar::testing::ToHexText(pelgar::testing::MakeImage("REV 1.31", 48, 0));

  Desktop desk(hex);
  platform::PosixPortFactory ports(desk.clock);
  pelgar::testing::ScriptedMessageOutput messages;
  std::ostringstream err;
  ui::FirmwareUpdater updater({ports, desk.clock, messages, desk, desk, desk, desk, err});
  updater.SetPort("COM3", "19200");
  updater.DoModal();

  EXPECT_EQ(desk.status, "Exiting ISP programming mode successfully.") << err.str();
  ASSERT_EQ(messages.shown.size(), 1u) << err.str();
  EXPECT_EQ(messages.shown[0].rfind("MSR Firmware Update/", 0), 0u) << messages.shown[0];
  EXPECT_FALSE(updater.port_open());
  // The reader now runs the new firmware and says so.
  sim_.reset();
  EXPECT_NE(ReadFile(dir_ + "/reader.state").find("REV 1.31"), std::string::npos);
}

}  // namespace
}  // namespace pelgar::e2e
