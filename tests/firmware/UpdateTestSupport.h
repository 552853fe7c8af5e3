#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "firmware/CloseItem.h"
#include "firmware/FirmwareImage.h"
#include "firmware/FirmwareUpdater.h"
#include "firmware/WindowTimer.h"
#include "platform/SerialPort.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "ui/ControlStore.h"
#include "ui/DialogHost.h"
#include "ui/FileDialogs.h"
#include "ui/MessageOutput.h"

namespace pelgar::firmware::testing {

// Every write the host made, when and at which rate.
struct HostWrite {
  int64_t at_ms = 0;
  int32_t baud = 0;
  std::string bytes;
};

// Passes ports through and records what the host writes on them.
class RecordingPorts : public platform::PortFactory {
 public:
  RecordingPorts(platform::PortFactory& inner, platform::Clock& clock)
      : inner_(inner), clock_(clock) {}
  std::unique_ptr<platform::SerialPort> Create() override;

  std::vector<std::string> Frames() const;

  std::vector<HostWrite> writes;

 private:
  platform::PortFactory& inner_;
  platform::Clock& clock_;
};

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
class ScriptedMessages : public ui::MessageOutput {
 public:
  int ShowMessage(std::string_view text, std::string_view caption, unsigned type) override;
  int ShowPlainMessage(std::string_view text, unsigned type, unsigned help_id) override;

  std::vector<ShownMessage> shown;
  std::deque<int> answers;
};

// Window 132 in memory, remembering every text of its status line and every progress
// setting.
class RecordingStore : public ui::ControlStore {
 public:
  RecordingStore(const ui::DialogTemplate& dialog, std::vector<std::string>& statuses,
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
class ScriptedWindow : public ui::DialogHost, public WindowTimer, public CloseItem {
 public:
  explicit ScriptedWindow(platform::Clock& clock) : clock_(clock) {}

  int RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) override;
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

class ScriptedFiles : public ui::FileDialogs {
 public:
  std::optional<std::string> Choose(const ui::FileDialogRequest& asked) override {
    request = asked;
    return choice;
  }

  std::optional<std::string> choice;  // nothing: the user cancels
  std::optional<ui::FileDialogRequest> request;
};

// Code in the low region (0x0000 onward) and/or the high region (0x3F00 onward), never a
// line of 0xFF, and `revision` at 0x1FE0 when it is not empty.
FirmwareImage MakeImage(std::string_view revision, size_t low_bytes, size_t high_bytes,
                        uint8_t seed = 1);
// The image as Intel HEX text: one record per line that holds code, an end record.
std::string ToHexText(const FirmwareImage& image);
// Writes `text` to a file below the test's temporary directory; returns its path.
std::string WriteTempFile(const std::string& name, const std::string& text);

// A reader of `revision` holding old firmware (all 0x00), the in-process line to it, and
// a firmware updater wired to scripted services.
class UpdateRig {
 public:
  explicit UpdateRig(std::string_view reader_revision = "REV 2.30");

  // Chooses a file holding `image` and runs the update from the main window's button.
  int Update(const FirmwareImage& image, const std::string& file_name = "firmware.hex");

  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory line{reader, clock};
  RecordingPorts ports{line, clock};
  ScriptedMessages messages;
  ScriptedWindow window{clock};
  ScriptedFiles files;
  std::ostringstream err;
  FirmwareUpdater updater{{ports, clock, messages, window, window, window, files, err}};
};

}  // namespace pelgar::firmware::testing
