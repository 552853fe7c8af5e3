#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/FirmwareImages.h"
#include "support/RecordingPorts.h"
#include "ui/ControlStore.h"
#include "ui/FirmwareUpdater.h"
#include "ui/UpdateWindowIds.h"

namespace pelgar::ui::testing {

// A message box as the tests compare it; a plain box is its bare text.
inline std::string Box(std::string_view text, std::string_view caption, unsigned type) {
  return std::string(caption) + "/" + std::to_string(type) + ": " + std::string(text);
}

// Writes `text` to a file of the running test's own; returns its path.
inline std::string WriteTempFile(const std::string& name, const std::string& text) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto dir = std::filesystem::path(::testing::TempDir()) / "pelgar_update" / test->name();
  std::filesystem::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << text;
  return (dir / name).string();
}

// Everything the updater needs from the program, with a scripted user: the file dialog
// gives `choice`, Yes/No questions take `answers` (No when none is left), and window 132
// keeps every status text and progress setting and is closed once the update has ended
// (or, with `dismiss_before_timer`, before its timer fires).
class UpdateDesktop : public DialogHost,
                      public WindowTimer,
                      public CloseItem,
                      public MessageOutput,
                      public FileDialogs {
  platform::Clock& clock_;  // first: the updater below is built with it

 public:
  UpdateDesktop(platform::PortFactory& line, platform::Clock& clock)
      : clock_(clock), ports(line, clock) {}

  // Chooses a file holding `image` and runs the update as the main window's button does.
  int Update(const firmware::FirmwareImage& image, const std::string& name = "firmware.hex") {
    choice = WriteTempFile(name, pelgar::testing::ToHexText(image));
    updater.SetPort("COM3", "19200");
    return updater.DoModal();
  }

  int RunModal(const DialogTemplate& dialog, DialogLogic& logic) override {
    Window window(dialog, *this);
    window.SetEvents(&logic);
    logic.OnOpening(window);
    // The event loop: the timer fires until it is killed (a second firing must not run
    // the update again).
    for (int fired = 0; timer_ && !dismiss_before_timer && fired < 2; ++fired) {
      clock_.SleepMs(timer_->interval_ms);
      ++timer_fires;
      timer_->target->OnTimer(timer_->id);
    }
    if (!window.closed()) window.PressEscape();
    logic.OnClosed();
    timer_left_running = timer_.has_value();
    window.SetEvents(nullptr);
    return window.result();
  }
  void SetTimer(int id, int64_t interval_ms, TimerEvents& target) override {
    timer_ = Timer{id, interval_ms, &target};
  }
  void KillTimer(int id) override {
    if (timer_ && timer_->id == id) timer_.reset();
  }
  void EnableClose(bool enabled) override { close_changes.push_back(enabled); }
  int ShowMessage(std::string_view text, std::string_view caption, unsigned type) override {
    messages.push_back(Box(text, caption, type));
    if ((type & 0x0F) != box::kYesNo) return answer::kOk;
    const int given = answers.empty() ? answer::kNo : answers.front();
    if (!answers.empty()) answers.pop_front();
    return given;
  }
  int ShowPlainMessage(std::string_view text, unsigned type, unsigned help_id) override {
    EXPECT_EQ(type + help_id, 0u);
    messages.emplace_back(text);
    return answer::kOk;
  }
  std::optional<std::string> Choose(const FileDialogRequest& asked) override {
    request = asked;
    return choice;
  }

  pelgar::testing::RecordingPorts ports;
  std::ostringstream err;
  std::optional<std::string> choice;  // nothing: the user cancels
  std::optional<FileDialogRequest> request;
  std::deque<int> answers;
  std::vector<std::string> messages;
  bool dismiss_before_timer = false;
  int timer_fires = 0;
  bool timer_left_running = false;
  std::vector<bool> close_changes;
  std::vector<std::string> statuses;
  std::pair<int, int> range;
  std::vector<int> positions;
  FirmwareUpdater updater{{ports, clock_, *this, *this, *this, *this, *this, err}};

 private:
  struct Window : ControlStore {
    Window(const DialogTemplate& dialog, UpdateDesktop& owner)
        : ControlStore(dialog), desk(owner) {}
    void SetText(int id, std::string_view text) override {
      if (id == kStatusLineId) desk.statuses.emplace_back(text);
      ControlStore::SetText(id, text);
    }
    void SetRange(int id, int low, int high) override {
      if (id == kProgressBarId) desk.range = {low, high};
      ControlStore::SetRange(id, low, high);
    }
    void SetPosition(int id, int position) override {
      if (id == kProgressBarId) desk.positions.push_back(position);
      ControlStore::SetPosition(id, position);
    }
    UpdateDesktop& desk;
  };
  struct Timer {
    int id;
    int64_t interval_ms;
    TimerEvents* target;
  };

  std::optional<Timer> timer_;
};

// A reader of `revision` holding old firmware (all 0x00) on virtual time.
struct SimulatedReaderOnVirtualTime {
  explicit SimulatedReaderOnVirtualTime(std::string_view revision) {
    reader.state().revision = std::string(revision);
    reader.state().program.fill(0x00);
  }
  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory line{reader, clock};
};

struct UpdateRig : SimulatedReaderOnVirtualTime, UpdateDesktop {
  explicit UpdateRig(std::string_view revision = "REV 2.30")
      : SimulatedReaderOnVirtualTime(revision), UpdateDesktop(line, clock) {}
};

}  // namespace pelgar::ui::testing
