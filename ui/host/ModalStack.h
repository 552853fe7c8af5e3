#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/WaitHook.h"
#include "ui/host/CloseItem.h"
#include "ui/host/TimerEvents.h"
#include "ui/host/WindowTimer.h"

namespace pelgar::ui {

// What a host keeps of each modal window it shows: how deep the logic is in its handlers,
// whether its close item is on, and whether the logic has asked to close it. A host's window
// class derives from it and ends the real window in Finish.
class ModalWindow {
 public:
  virtual ~ModalWindow() = default;

  // Handler depth: > 0 while the logic runs one of this window's notifications or timers.
  int busy_depth() const { return busy_depth_; }

  // The Close item of the window's menu, and with it the close box, Escape and Alt+F4.
  bool close_enabled() const { return close_enabled_; }
  void SetCloseEnabled(bool enabled);

  // Controls::Close: the window ends with `result` once no handler of it runs.
  void RequestClose(int result);
  bool close_requested() const { return close_requested_; }
  int close_result() const { return close_result_; }

 protected:
  // Shows the close item's state on the window (greys its Close, say).
  virtual void ShowCloseEnabled(bool) {}
  // Ends the real window with `result`: the logic asked, and no handler of it runs.
  virtual void Finish(int result) = 0;

 private:
  friend class ModalStack;

  int busy_depth_ = 0;
  bool close_enabled_ = true;
  bool close_requested_ = false;
  int close_result_ = 0;
};

// The modal state machine every desktop host shares: the stack of shown windows, the
// handlers that run on them, their timers, their close items and the waits while the reader
// works. The rule it keeps is the one Controls states: no notification or timer event reaches
// a window while another handler of it runs, or while the program waits for the reader.
// A host derives from it and supplies the platform's timers, its pass over the event loop
// inside a wait, and its cursor; it keeps widgets, event translation and painting.
class ModalStack : public WindowTimer, public CloseItem, public platform::WaitHook {
 public:
  ~ModalStack() override = default;

  // The window on top while its host runs it modally: push it before its logic opens, pop it
  // once it has closed. Its timers die with it.
  void Push(ModalWindow& window);
  void Pop();
  ModalWindow* top() const { return windows_.empty() ? nullptr : windows_.back(); }

  // Runs one of the logic's handlers for `window`: marks it busy, and afterwards takes the
  // wait cursor down and ends the window if the logic closed it.
  void Dispatch(ModalWindow& window, const std::function<void()>& handler);
  // What the user did to `window`: runs `handler` as Dispatch does, unless the user may not
  // reach the window now (Accepts), when it is dropped. Returns whether it ran.
  bool Deliver(ModalWindow& window, const std::function<void()>& handler);
  // True when the user's input reaches `window`: no handler of it runs, the reader is idle.
  bool Accepts(const ModalWindow& window) const;
  // True when the user may ask `window` to close (Escape, the close box, Alt+F4, the menu's
  // Close): the input reaches it and its close item is on.
  bool MayClose(const ModalWindow& window) const;
  // Ends `window` when the logic asked for it and no handler of it still runs.
  static void FinishIfClosing(ModalWindow& window);

  // WindowTimer: timers of the window on top.
  void SetTimer(int timer_id, int64_t interval_ms, TimerEvents& target) override;
  void KillTimer(int timer_id) override;
  // A tick of `window`'s timer from the host's loop: the logic's OnTimer, unless the window
  // is not on top, a handler of it runs or the reader works; the timer ticks again later.
  void Tick(const ModalWindow& window, int timer_id);

  // CloseItem of the window on top.
  void EnableClose(bool enabled) override;

  // WaitHook: at most one pass over the host's event loop every pass interval.
  void OnWait() override;
  int64_t MsUntilNextCall() const override;

  // True while the program waits for the reader: input and close requests are dropped.
  bool waiting() const { return waiting_; }
  // True from a wait's first pass until the handler that waited returns.
  bool wait_cursor() const { return wait_cursor_; }

  // How alive the windows stayed: the longest time between two passes of the event loop
  // while a handler ran, and the gaps longer than a frame at 60 Hz, since the last reset.
  std::chrono::microseconds longest_gap() const { return longest_gap_; }
  int64_t missed_frames() const { return missed_frames_; }
  // How often OnWait was called since the last reset, and how often it made a pass.
  int64_t wait_calls() const { return wait_calls_; }
  int64_t wait_passes() const { return wait_passes_; }
  void ResetGapMeasure();
  // The least time between two passes inside waits (default 5 ms): called at every slice of
  // every wait, often a few milliseconds apart, a pass each time would only slow the reader.
  void set_pass_interval(std::chrono::microseconds interval) { pass_interval_ = interval; }

 protected:
  // The platform's timer of `window`; false when it could not be made.
  virtual bool StartTimer(ModalWindow& window, int timer_id, int64_t interval_ms) = 0;
  virtual void StopTimer(ModalWindow& window, int timer_id) = 0;
  // One pass over the event loop inside a wait: repaint, and drop what the user does.
  virtual void PassWhileWaiting() = 0;
  // Puts the wait cursor up or takes it down.
  virtual void ShowWaitCursor(bool on) = 0;

 private:
  struct Timer {
    ModalWindow* window = nullptr;
    TimerEvents* target = nullptr;
  };

  // Notes that the event loop is about to run: the end of a gap.
  void NotePass();

  std::vector<ModalWindow*> windows_;
  std::map<int, Timer> timers_;
  bool waiting_ = false;
  bool wait_cursor_ = false;
  std::chrono::microseconds pass_interval_ = std::chrono::milliseconds(5);
  std::chrono::steady_clock::time_point last_pass_ = std::chrono::steady_clock::now();
  std::chrono::microseconds longest_gap_{0};
  int64_t missed_frames_ = 0;
  int64_t wait_calls_ = 0;
  int64_t wait_passes_ = 0;
};

}  // namespace pelgar::ui
