#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "firmware/FirmwareImage.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/FirmwareImages.h"
#include "support/RecordingPorts.h"
#include "ui/CloseItem.h"
#include "ui/ControlStore.h"
#include "ui/DialogHost.h"
#include "ui/FileDialogs.h"
#include "ui/FirmwareUpdater.h"
#include "ui/MessageOutput.h"
#include "ui/WindowTimer.h"

namespace pelgar::ui::testing {

struct ShownMessage {
  bool plain = false;
  std::string text;
  std::string caption;
  unsigned type = 0;

  bool operator==(const ShownMessage&) const = default;
};
ShownMessage Box(std::string text, std::string caption, unsigned type);
ShownMessage Plain(std::string text);

// The user in front of the message boxes: OK to every OK box, the scripted answers to
// questions (No when none is left).
class ScriptedMessages : public MessageOutput {
 public:
  int ShowMessage(std::string_view text, std::string_view caption, unsigned type) override;
  int ShowPlainMessage(std::string_view text, unsigned type, unsigned help_id) override;

  std::vector<ShownMessage> shown;
  std::deque<int> answers;
};

// Window 132 in memory, remembering every text of its status line and every progress
// setting.
class RecordingStore : public ControlStore {
 public:
  RecordingStore(const DialogTemplate& dialog, std::vector<std::string>& statuses,
                 std::vector<int>& positions, std::pair<int, int>& range)
      : ControlStore(dialog), statuses_(statuses), positions_(positions), range_(range) {}
  void SetText(int id, std::string_view text) override;
  void SetRange(int id, int low, int high) override;
  void SetPosition(int id, int position) override;

 private:
  std::vector<std::string>& statuses_;
  std::vector<int>& positions_;
  std::pair<int, int>& range_;
};

// The program's window host, timer and Close item, with a user who closes the window once
// the update has ended (or, when asked, before the timer fires).
class ScriptedWindow : public DialogHost, public WindowTimer, public CloseItem {
 public:
  explicit ScriptedWindow(platform::Clock& clock) : clock_(clock) {}

  int RunModal(const DialogTemplate& dialog, DialogLogic& logic) override;
  void SetTimer(int timer_id, int64_t interval_ms, TimerEvents& target) override;
  void KillTimer(int timer_id) override;
  void EnableClose(bool enabled) override { close_changes.push_back(enabled); }

  bool dismiss_before_timer = false;
  int shown = 0;
  int timer_fires = 0;
  std::string title;
  std::vector<std::string> statuses;
  std::vector<int> positions;
  std::pair<int, int> range{0, 100};
  std::vector<bool> close_changes;
  bool timer_left_running = false;

 private:
  struct Timer {
    int id;
    int64_t interval_ms;
    TimerEvents* target;
  };
  platform::Clock& clock_;
  std::optional<Timer> timer_;
};

class ScriptedFiles : public FileDialogs {
 public:
  std::optional<std::string> Choose(const FileDialogRequest& asked) override {
    request = asked;
    return choice;
  }

  std::optional<std::string> choice;  // nothing: the user cancels
  std::optional<FileDialogRequest> request;
};

// Writes `text` to a file below the test's temporary directory; returns its path.
std::string WriteTempFile(const std::string& name, const std::string& text);

// A reader of `revision` holding old firmware (all 0x00), the in-process line to it, and
// a firmware updater wired to scripted services.
class UpdateRig {
 public:
  explicit UpdateRig(std::string_view reader_revision = "REV 2.30");

  // Chooses a file holding `image` and runs the update from the main window's button.
  int Update(const firmware::FirmwareImage& image, const std::string& file_name = "firmware.hex");

  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory line{reader, clock};
  pelgar::testing::RecordingPorts ports{line, clock};
  ScriptedMessages messages;
  ScriptedWindow window{clock};
  ScriptedFiles files;
  std::ostringstream err;
  FirmwareUpdater updater{{ports, clock, messages, window, window, window, files, err}};
};

}  // namespace pelgar::ui::testing
