#pragma once

namespace pelgar::ui {

// Receives the timer events of a window.
class TimerEvents {
 public:
  virtual ~TimerEvents() = default;
  virtual void OnTimer(int timer_id) = 0;
};

}  // namespace pelgar::ui
