#pragma once

// The program's windows on a desktop host, driven as a user drives them, against the
// in-process simulated reader on virtual time: the flows every host runs alike. A test
// binary includes this header once and instantiates the suite with its host's harness:
//   INSTANTIATE_TEST_SUITE_P(Hosts, DesktopFlow,
//                            ::testing::Values(Flow<QtFlowHarness>("QtHost")), FlowName);

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

#include "app/Desktop.h"
#include "app/RunSettings.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/ContractUser.h"
#include "support/FirmwareImages.h"
#include "support/RecordingPorts.h"
#include "support/ScriptedHost.h"
#include "support/TestEnvironment.h"
#include "ui/enhanced/EnhancedConfigIds.h"
#include "ui/main/AboutBoxIds.h"
#include "ui/main/MainWindowIds.h"
#include "ui/update/UpdateWindowIds.h"

namespace pelgar::testing {

// One window of the desktop as the host under test shows it.
class FlowWindow {
 public:
  virtual ~FlowWindow() = default;
  virtual int id() = 0;
  virtual ui::Controls& controls() = 0;
  virtual ContractUser& user() = 0;
  // Chooses `command` from the window's own menu, opened as a user opens it.
  virtual void ChooseFromMenu(int command) = 0;
  // Runs the window's own loop until `done`, or for twenty seconds at most.
  virtual void RunUntil(const std::function<bool()>& done) = 0;
  // A progress bar's position and its end.
  virtual std::pair<int, int> Progress(int id) = 0;
  // What a user's click on `id`, and the window manager's request to close, put in the queue;
  // RunQueued hands them out as the window's loop does.
  virtual void QueueClick(int id) = 0;
  virtual void QueueCloseRequest() = 0;
  virtual void RunQueued() = 0;
  virtual bool close_requested() = 0;
  // The window offers its close item (not greyed).
  virtual bool CloseOffered() = 0;
  // The window below this one takes no input while it is open.
  virtual bool OwnerBlocked() = 0;
};

struct FlowCalls {
  std::function<void(FlowWindow&)> shown;   // each window, once it shows
  std::function<void(FlowWindow*)> waited;  // after each wait of an action, with the top window
};

// One host under the desktop; virtual time passes in no time, so every wait runs its loop.
class DesktopHarness {
 public:
  virtual ~DesktopHarness() = default;
  // Runs the desktop until its main window closes, with `scripted` as file dialogs and boxes.
  virtual int Run(device::DeviceEnvironment& env, ScriptedHost& scripted,
                  const FlowCalls& calls) = 0;
  virtual void EnableClose(bool enabled) = 0;
  virtual bool wait_cursor() = 0;
  // Paints of a window while an action waited.
  virtual int paints_while_waiting() = 0;
};

// What every host's harness does alike: runs the desktop on `Host`, hands each window that
// shows to the test as a `Window`, and each wait to the test after the host's own pass.
template <class Host, class Window>
class HostHarness : public DesktopHarness, public platform::WaitHook {
 public:
  HostHarness() { host.set_pass_interval(std::chrono::microseconds(0)); }
  int Run(device::DeviceEnvironment& env, ScriptedHost& scripted, const FlowCalls& calls) override {
    calls_ = &calls;
    host.on_shown = [&](auto& window) {
      Window flow(window);
      calls.shown(flow);
    };
    app::RunSettings settings;
    ui::HostServices services{host, host, host, scripted, scripted, *this};
    return app::Desktop(settings, services, env, env.out).Run();
  }
  void OnWait() override {
    host.OnWait();
    std::optional<Window> top;
    if (host.top() != nullptr) top.emplace(*host.top());
    calls_->waited(top ? &*top : nullptr);
  }
  void EnableClose(bool enabled) override { host.EnableClose(enabled); }

  Host host;

 private:
  const FlowCalls* calls_ = nullptr;
};

struct FlowFactory {
  const char* name;
  std::unique_ptr<DesktopHarness> (*make)();
};
template <class H>
FlowFactory Flow(const char* name) {
  return {name, [] { return std::unique_ptr<DesktopHarness>(std::make_unique<H>()); }};
}
inline std::string FlowName(const ::testing::TestParamInfo<FlowFactory>& info) {
  return info.param.name;
}
inline void PrintTo(const FlowFactory& factory, std::ostream* os) { *os << factory.name; }

class DesktopFlow : public ::testing::TestWithParam<FlowFactory> {
 protected:
  DesktopFlow() { reader.state().revision = "REV 2.30"; }

  int Run() {
    FlowCalls calls;
    calls.shown = [this](FlowWindow& window) {
      opened += std::to_string(window.id()) + " ";
      if (auto it = users.find(window.id()); it != users.end()) it->second(window);
    };
    calls.waited = [this](FlowWindow* top) {
      cursor_shown = cursor_shown || host->wait_cursor();
      if (on_wait) on_wait(top);
    };
    return host->Run(env, scripted, calls);
  }

  std::unique_ptr<DesktopHarness> host = GetParam().make();
  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory line{reader, clock};
  RecordingPorts ports{line, clock};
  std::ostringstream out, err;
  device::DeviceEnvironment env{ports, clock, out, err};
  ScriptedHost scripted{clock};
  std::map<int, std::function<void(FlowWindow&)>> users;  // by dialog
  std::function<void(FlowWindow*)> on_wait;
  std::string opened;  // the dialogs in the order they showed
  bool cursor_shown = false;
};

namespace flow_id = ui::main_id;

// Get Config fills the window through the host's controls; Set Config with "Enabled" off asks
// first, and Yes switches the custom configuration on. A click on a disabled control is lost.
TEST_P(DesktopFlow, GetConfigFillsTheWindowAndSetConfigAsksToEnable) {
  reader.state().option_byte = reader.state().active_option_byte = 0;
  scripted.answers = {ui::answer::kYes};
  std::string seen;
  users[flow_id::kDialog] = [&](FlowWindow& window) {
    window.user().Click(flow_id::kGetConfig);
    ui::Controls& c = window.controls();
    seen = c.GetText(flow_id::kRevision, 20) + "|" + c.GetText(flow_id::kSentinel1, 9) +
           c.GetText(flow_id::kEndSentinel, 9) + "|" + c.GetText(flow_id::kPortList, 9) + "|" +
           c.GetText(flow_id::kBaudList, 9) + "|";
    window.user().Click(flow_id::kStripSentinels);  // disabled while custom is off
    window.user().Click(flow_id::kSetConfig);
    seen += c.IsChecked(flow_id::kCustomConfiguration) ? "1" : "0";
    window.user().PressEscape();
  };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_EQ(seen, "REV 2.30|%?|COM3|19200|1");
  EXPECT_EQ(opened, "102 ");
  ASSERT_EQ(scripted.shown.size(), 1u);
  EXPECT_EQ(scripted.shown[0].substr(0, 33), "Enable Custom Configuration?/44: ");
  EXPECT_EQ(int{reader.state().active_option_byte}, 0x40);
}

// With the close item off, Escape, the close box and the window manager's request do
// nothing; back on, the window's menu opens the about box and the enhanced window, each modal
// in turn, and the close box asks the logic, which closes.
TEST_P(DesktopFlow, CloseItemOffIgnoresEveryCloseRequestAndTheMenuOpensWindows) {
  bool offered_while_off = true, open_while_off = false, owner_blocked = false;
  users[flow_id::kDialog] = [&](FlowWindow& window) {
    host->EnableClose(false);
    offered_while_off = window.CloseOffered();
    window.user().PressEscape();
    window.user().CloseBox();
    window.QueueCloseRequest();
    window.RunQueued();
    open_while_off = !window.close_requested();
    host->EnableClose(true);
    EXPECT_TRUE(window.CloseOffered());
    window.ChooseFromMenu(flow_id::kAboutCommand);
    window.ChooseFromMenu(flow_id::kEnhancedWindowCommand);
    window.user().CloseBox();
  };
  users[ui::about_id::kDialog] = [&](FlowWindow& window) {
    owner_blocked = window.OwnerBlocked();
    window.user().PressEnter();
  };
  users[ui::enhanced_id::kDialog] = [](FlowWindow& window) { window.user().PressEscape(); };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_EQ(opened, "102 100 130 ");
  EXPECT_FALSE(offered_while_off);
  EXPECT_TRUE(open_while_off);
  EXPECT_TRUE(owner_blocked);
}

// The update runs inside the update window's timer event, with the close item off until it
// is done; its progress bar reaches the last line's address.
TEST_P(DesktopFlow, FirmwareUpdateRunsInTheWindowsTimer) {
  reader.state().program.fill(0x00);
  platform::TempDir dir;
  const std::string hex = dir.Put("update.hex", ToHexText(MakeImage("REV 2.31", 384, 0)));
  scripted.choice = hex;
  int waits_in_update = 0;
  bool close_off_while_updating = true;
  on_wait = [&](FlowWindow* top) {
    if (top == nullptr || top->id() != ui::update_id::kDialog) return;
    ++waits_in_update;
    close_off_while_updating = close_off_while_updating && !top->CloseOffered();
  };
  users[flow_id::kDialog] = [&](FlowWindow& window) {
    window.user().Click(flow_id::kFirmwareUpdate);
    window.user().PressEscape();
  };
  std::pair<int, int> progress;
  users[ui::update_id::kDialog] = [&](FlowWindow& window) {
    window.RunUntil([&] { return !scripted.shown.empty(); });
    progress = window.Progress(ui::update_id::kProgressBar);
    window.user().CloseBox();
  };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_EQ(opened, "102 132 ");
  ASSERT_EQ(scripted.shown.size(), 1u);
  EXPECT_EQ(scripted.shown[0].substr(0, 23), "MSR Firmware Update/40:");
  EXPECT_GT(waits_in_update, 10);
  EXPECT_TRUE(close_off_while_updating);
  EXPECT_GT(progress.second, 0);
  EXPECT_EQ(progress.first, progress.second - 15);  // at the last line's address
  EXPECT_EQ(reader.state().revision, "REV 2.31");
}

// While the reader works the window repaints, but clicks and a close request made meanwhile
// are dropped rather than run once the action ends.
TEST_P(DesktopFlow, WaitsRepaintAndDropInputAndCloseRequests) {
  FlowWindow* main = nullptr;
  bool meddled = false, still_open = false;
  on_wait = [&](FlowWindow*) {
    if (main == nullptr || std::exchange(meddled, true)) return;
    main->QueueClick(flow_id::kSaveSettings);
    main->QueueClick(flow_id::kLoadConfig);
    main->QueueCloseRequest();
  };
  users[flow_id::kDialog] = [&](FlowWindow& window) {
    main = &window;
    window.user().Click(flow_id::kGetConfig);
    main = nullptr;
    window.RunQueued();
    still_open = !window.close_requested();
    EXPECT_EQ(scripted.request, std::nullopt);  // neither Save nor Load asked for a file
    // The same click once the action is over reaches Save.
    window.QueueClick(flow_id::kSaveSettings);
    window.RunQueued();
    EXPECT_NE(scripted.request, std::nullopt);
    window.user().CloseBox();
  };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_TRUE(meddled);
  EXPECT_TRUE(still_open);
  EXPECT_GT(host->paints_while_waiting(), 0);
  EXPECT_TRUE(cursor_shown);
  EXPECT_FALSE(host->wait_cursor());
}

}  // namespace pelgar::testing
