#pragma once

#include <QObject>
#include <QPointer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/WaitHook.h"
#include "ui/host/CloseItem.h"
#include "ui/host/DialogHost.h"
#include "ui/host/WindowTimer.h"

class QTimer;

namespace pelgar::hosts::qt {

class DialogWindow;

// Shows the program's dialogs with Qt Widgets: builds each from its template, runs it in
// its own event loop until the logic closes it, delivers its timers, governs its close
// item, and keeps the windows painted while the reader works.
//
// The logic is single-threaded and a reader action blocks its window for seconds. Every
// wait of the device and firmware layers calls OnWait between its slices, and ends a slice
// when the next pass is due (MsUntilNextCall), so the event loop runs every kWaitSliceMs;
// there the windows repaint and the wait cursor shows, but user input is dropped, close
// requests are ignored and no timer reaches the logic, so no handler ever runs inside
// another one.
class QtHost : public QObject,
               public ui::DialogHost,
               public ui::WindowTimer,
               public ui::CloseItem,
               public platform::WaitHook {
 public:
  QtHost();
  ~QtHost() override;

  // DialogHost
  int RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) override;
  // WindowTimer: timers of the window on top; they end with it.
  void SetTimer(int timer_id, int64_t interval_ms, ui::TimerEvents& target) override;
  void KillTimer(int timer_id) override;
  // CloseItem of the window on top.
  void EnableClose(bool enabled) override;
  // WaitHook
  void OnWait() override;
  int64_t MsUntilNextCall() const override;

  // Runs one of the logic's handlers for `window`: marks it busy, and afterwards restores
  // the cursor and ends the window if the logic closed it.
  void Dispatch(DialogWindow& window, const std::function<void()>& handler);
  // True while the program waits for the reader: input and close requests are dropped.
  bool waiting() const { return waiting_; }
  // The innermost shown dialog, or null.
  DialogWindow* top() const;

  // Called with each dialog once it is shown, before its event loop runs (tests and
  // screenshots drive the real windows from here).
  std::function<void(DialogWindow&)> on_shown;

  // The longest time between two passes of the event loop while a handler ran, since the
  // last reset: how alive the windows stayed.
  std::chrono::microseconds longest_gap() const { return longest_gap_; }
  // Gaps longer than a frame at 60 Hz since the last reset: a repaint the screen missed.
  int64_t missed_frames() const { return missed_frames_; }
  int64_t wait_calls() const { return wait_calls_; }
  void ResetGapMeasure();
  // The least time between two passes of the event loop inside waits (default 5 ms).
  void set_pass_interval(std::chrono::microseconds interval) { pass_interval_ = interval; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Timer {
    QTimer* timer = nullptr;
    ui::TimerEvents* target = nullptr;
    QPointer<DialogWindow> window;
  };

  void OnTimeout(int timer_id);
  // Notes that the event loop is about to run: the end of a gap.
  void NotePass();

  std::vector<DialogWindow*> windows_;
  std::map<int, Timer> timers_;
  bool waiting_ = false;
  bool wait_cursor_ = false;
  std::chrono::microseconds pass_interval_ = std::chrono::milliseconds(5);
  std::chrono::steady_clock::time_point last_pass_ = std::chrono::steady_clock::now();
  std::chrono::microseconds longest_gap_{0};
  int64_t missed_frames_ = 0;
  int64_t wait_calls_ = 0;
};

}  // namespace pelgar::hosts::qt
