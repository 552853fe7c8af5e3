#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "hosts/win32/Win32Window.h"
#include "platform/WaitHook.h"
#include "ui/host/CloseItem.h"
#include "ui/host/DialogHost.h"
#include "ui/host/WindowTimer.h"

namespace pelgar::hosts::win32 {

class DialogWindow;

// Shows the program's dialogs with the platform's dialog manager: builds each from its
// template, runs it modally until the logic closes it, delivers its timers, governs its close
// item, and keeps the windows painted while the reader works.
//
// The logic is single-threaded and a reader action blocks its window for seconds. Every
// wait of the device and firmware layers calls OnWait between slices of at most kWaitSliceMs;
// there the windows repaint and the wait cursor shows, but keyboard and mouse input and
// close requests are taken from the queue and dropped, and no timer reaches the logic, so no
// handler ever runs inside another one or after the action for what the user did meanwhile.
class Win32Host : public ui::DialogHost,
                  public ui::WindowTimer,
                  public ui::CloseItem,
                  public platform::WaitHook {
 public:
  Win32Host();
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  // DialogHost
  int RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) override;
  // WindowTimer: timers of the window on top (SetTimer on its window); they end with it.
  void SetTimer(int timer_id, int64_t interval_ms, ui::TimerEvents& target) override;
  void KillTimer(int timer_id) override;
  // CloseItem of the window on top.
  void EnableClose(bool enabled) override;
  // WaitHook
  void OnWait() override;

  // Runs one of the logic's handlers for `window`: marks it busy, and afterwards restores
  // the cursor and ends the window if the logic closed it.
  void Dispatch(DialogWindow& window, const std::function<void()>& handler);
  // A WM_TIMER of `window`: its logic's timer, unless a handler runs or the reader works.
  void OnTimerMessage(DialogWindow& window, UINT_PTR timer_id);
  // True while the program waits for the reader: input and close requests are dropped.
  bool waiting() const { return waiting_; }
  // True while the wait cursor is up: the windows show it wherever the mouse is.
  bool wait_cursor() const { return wait_cursor_; }
  // True when a dialog could not be created at all (no window station or display to show it
  // on): the program must not end as if the user had closed it.
  bool failed_to_open() const { return failed_to_open_; }
  // The innermost shown dialog, or null.
  DialogWindow* top() const { return windows_.empty() ? nullptr : windows_.back(); }

  // Called with each dialog once it shows, from its own message loop and outside any
  // handler (tests and screenshots drive the real windows from here).
  std::function<void(DialogWindow&)> on_shown;

  // How often OnWait was called since the last reset, and how often it pumped the queue.
  int64_t wait_calls() const { return wait_calls_; }
  int64_t wait_passes() const { return wait_passes_; }
  // The least time between two passes over the queue inside waits (default 5 ms).
  void set_pass_interval(std::chrono::microseconds interval) { pass_interval_ = interval; }

 private:
  struct Timer {
    DialogWindow* window = nullptr;
    ui::TimerEvents* target = nullptr;
  };

  void EndWaitCursor();

  std::vector<DialogWindow*> windows_;
  std::map<int, Timer> timers_;
  bool waiting_ = false;
  bool wait_cursor_ = false;
  bool failed_to_open_ = false;
  std::chrono::microseconds pass_interval_ = std::chrono::milliseconds(5);
  std::chrono::steady_clock::time_point last_pass_ = std::chrono::steady_clock::now();
  int64_t wait_calls_ = 0;
  int64_t wait_passes_ = 0;
};

}  // namespace pelgar::hosts::win32
