// The program's windows on the Win32 host under the platform's own dialog manager, driven
// with the messages a user's input makes, against the in-process simulated reader on
// virtual time.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "app/Desktop.h"
#include "app/RunSettings.h"
#include "hosts/win32/DialogWindow.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32Window.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/FirmwareImages.h"
#include "support/ScriptedHost.h"
#include "support/TestEnvironment.h"
#include "tests/hosts/win32/Win32TestUser.h"
#include "ui/enhanced/EnhancedConfigIds.h"
#include "ui/main/AboutBoxIds.h"
#include "ui/main/MainWindowIds.h"
#include "ui/update/UpdateWindowIds.h"

namespace pelgar::hosts::win32 {
namespace {

namespace id = ui::main_id;
using testing::Win32TestUser;
using User = std::function<void(DialogWindow&, Win32TestUser&)>;

// Runs what is queued for the dialog as its own loop would: keys through the dialog manager.
void PumpQueue(HWND dialog) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageW(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

bool CloseGreyed(HWND dialog) {
  return (GetMenuState(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

// What a user's click on a button puts in the queue.
void PostClick(HWND button) {
  PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

class Win32DesktopFlowTest : public ::testing::Test {
 protected:
  Win32DesktopFlowTest() {
    reader.state().revision = "REV 2.30";
    // Virtual time passes in no time: every wait goes through the queue.
    host.set_pass_interval(std::chrono::microseconds(0));
    host.on_shown = [this](DialogWindow& window) {
      const int dialog = window.dialog_template().id;
      opened += std::to_string(dialog) + " ";
      auto it = users.find(dialog);
      if (it == users.end()) return;
      Win32TestUser user(window);
      it->second(window, user);
    };
  }

  // Runs the desktop until its main window closes.
  int Run() {
    app::RunSettings settings;
    ui::HostServices services{host,     host,     host,
                              scripted, scripted, wait_hook != nullptr ? *wait_hook : host};
    app::Desktop desktop(settings, services, env, out);
    return desktop.Run();
  }

  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory ports{reader, clock};
  std::ostringstream out, err;
  device::DeviceEnvironment env{ports, clock, out, err};
  Win32Host host;
  pelgar::testing::ScriptedHost scripted{clock};  // file dialogs and message boxes
  platform::WaitHook* wait_hook = nullptr;
  std::map<int, User> users;
  std::string opened;
};

TEST_F(Win32DesktopFlowTest, GetConfigFillsTheWindow) {
  reader.state().active_option_byte = 0x40;  // the custom configuration
  std::string seen;
  users[id::kDialog] = [&](DialogWindow& window, Win32TestUser& user) {
    user.Click(id::kGetConfig);
    ui::Controls& c = window.controls();
    seen = c.GetText(id::kRevision, 20) + "|" + c.GetText(id::kSentinel1, 9) +
           c.GetText(id::kEndSentinel, 9) + "|" +
           (c.IsChecked(id::kCustomConfiguration) ? "1" : "0") + "|" + c.GetText(id::kPortList, 9) +
           "|" + c.GetText(id::kBaudList, 9);
    user.PressEscape();
  };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_EQ(seen, "REV 2.30|%?|1|COM3|19200");
  EXPECT_EQ(opened, "102 ");
  EXPECT_TRUE(scripted.shown.empty());
  EXPECT_GT(host.wait_passes(), 0);
  EXPECT_FALSE(host.wait_cursor());
}

// While the reader works the window repaints, but a click and a close request made meanwhile
// are dropped rather than run once the action ends.
TEST_F(Win32DesktopFlowTest, WaitsRepaintAndDropInputAndCloseRequests) {
  struct Meddler : platform::WaitHook {
    explicit Meddler(Win32Host& h) : host(h) {}
    void OnWait() override {
      if (dialog != nullptr && !meddled) {
        meddled = true;
        PostClick(save);
        PostMessageW(load, BM_CLICK, 0, 0);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
      }
      if (status != nullptr) InvalidateRect(status, nullptr, TRUE);
      host.OnWait();
      RECT dirty;
      if (status != nullptr && !GetUpdateRect(status, &dirty, FALSE)) ++painted;
      cursor_shown = cursor_shown || host.wait_cursor();
    }
    Win32Host& host;
    HWND dialog = nullptr, status = nullptr, save = nullptr, load = nullptr;
    bool meddled = false, cursor_shown = false;
    int painted = 0;
  } meddler(host);
  wait_hook = &meddler;
  bool still_open = false;
  users[id::kDialog] = [&](DialogWindow& window, Win32TestUser& user) {
    meddler.dialog = window.hwnd();
    meddler.status = user.Window(id::kRevision);
    meddler.save = user.Window(id::kSaveSettings);
    meddler.load = user.Window(id::kLoadConfig);
    user.Click(id::kGetConfig);
    meddler.dialog = meddler.status = nullptr;
    PumpQueue(window.hwnd());
    still_open = !window.close_requested();
    EXPECT_EQ(scripted.request, std::nullopt);  // neither Save nor Load asked for a file
    // The same click once the action is over reaches Save.
    PostClick(user.Window(id::kSaveSettings));
    PumpQueue(window.hwnd());
    EXPECT_NE(scripted.request, std::nullopt);
    user.CloseBox();
  };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_TRUE(meddler.meddled);
  EXPECT_TRUE(still_open);
  EXPECT_GT(meddler.painted, 0);
  EXPECT_TRUE(meddler.cursor_shown);
  EXPECT_FALSE(host.wait_cursor());
}

// With the close item off, Escape, Alt+F4, the close box and WM_CLOSE do nothing; back on,
// the close box asks the logic, which closes.
TEST_F(Win32DesktopFlowTest, CloseItemOffIgnoresEveryCloseRequest) {
  bool greyed = false, open_while_off = false;
  users[id::kDialog] = [&](DialogWindow& window, Win32TestUser& user) {
    host.EnableClose(false);
    greyed = CloseGreyed(window.hwnd());
    user.PressEscape();
    user.CloseBox();
    SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    SendMessageW(window.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    open_while_off = !window.close_requested();
    host.EnableClose(true);
    EXPECT_FALSE(CloseGreyed(window.hwnd()));
    user.CloseBox();
  };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_TRUE(greyed);
  EXPECT_TRUE(open_while_off);
}

// The window's system menu opens the about box and the enhanced window, each in turn modal.
TEST_F(Win32DesktopFlowTest, SystemMenuOpensTheAboutBoxAndTheEnhancedWindow) {
  users[id::kDialog] = [&](DialogWindow& window, Win32TestUser& user) {
    SendMessageW(window.hwnd(), WM_SYSCOMMAND, id::kAboutCommand, 0);
    SendMessageW(window.hwnd(), WM_SYSCOMMAND, id::kEnhancedWindowCommand, 0);
    user.PressEscape();
  };
  bool main_disabled = false;
  users[ui::about_id::kDialog] = [&](DialogWindow& window, Win32TestUser& user) {
    main_disabled = !IsWindowEnabled(GetWindow(window.hwnd(), GW_OWNER));
    user.PressEnter();
  };
  users[ui::enhanced_id::kDialog] = [](DialogWindow&, Win32TestUser& user) { user.PressEscape(); };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_EQ(opened, "102 100 130 ");
  EXPECT_TRUE(main_disabled);
}

// The update runs inside the update window's timer event, with the close item off until it
// is done; its progress bar reaches the last line's address.
TEST_F(Win32DesktopFlowTest, FirmwareUpdateRunsInTheWindowsTimer) {
  reader.state().program.fill(0x00);
  platform::TempDir dir;
  const std::string hex = dir / "update.hex";
  std::ofstream(hex, std::ios::binary)
      << pelgar::testing::ToHexText(pelgar::testing::MakeImage("REV 2.31", 384, 0));
  scripted.choice = hex;
  struct Watcher : platform::WaitHook {
    explicit Watcher(Win32Host& h) : host(h) {}
    void OnWait() override {
      DialogWindow* top = host.top();
      if (top != nullptr && top->dialog_template().id == ui::update_id::kDialog) {
        ++waits_in_update;
        close_off_while_updating = close_off_while_updating && CloseGreyed(top->hwnd());
      }
      host.OnWait();
    }
    Win32Host& host;
    int waits_in_update = 0;
    bool close_off_while_updating = true;
  } watcher(host);
  wait_hook = &watcher;
  users[id::kDialog] = [&](DialogWindow&, Win32TestUser& user) {
    user.Click(id::kFirmwareUpdate);
    user.PressEscape();
  };
  LRESULT position = -1, high = 0;
  users[ui::update_id::kDialog] = [&](DialogWindow& window, Win32TestUser&) {
    // Waits in the window's own loop until the update has said it is done (a thread timer
    // wakes the loop up, so that a silent failure ends the wait too).
    const UINT_PTR ticker = SetTimer(nullptr, 0, 100, nullptr);
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (scripted.shown.empty() && GetTickCount64() < deadline) {
      MSG message;
      if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
      if (!IsDialogMessageW(window.hwnd(), &message)) DispatchMessageW(&message);
    }
    KillTimer(nullptr, ticker);
    HWND bar = window.controls().Window(ui::update_id::kProgressBar);
    position = SendMessageW(bar, PBM_GETPOS, 0, 0);
    high = SendMessageW(bar, PBM_GETRANGE, FALSE, 0);
    Win32TestUser(window).CloseBox();
  };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_EQ(opened, "102 132 ");
  ASSERT_EQ(scripted.shown.size(), 1u);
  EXPECT_EQ(scripted.shown[0].substr(0, 23), "MSR Firmware Update/40:");
  EXPECT_GT(watcher.waits_in_update, 10);
  EXPECT_TRUE(watcher.close_off_while_updating);
  EXPECT_GT(high, 0);
  EXPECT_EQ(position, high - 15);  // at the last line's address
  EXPECT_EQ(reader.state().revision, "REV 2.31");
}

}  // namespace
}  // namespace pelgar::hosts::win32
