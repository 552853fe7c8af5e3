#pragma once

#include <cstdint>

#include "ui/host/TimerEvents.h"

namespace pelgar::ui {

// Timers of the window being shown. The host delivers an event to `target` every
// `interval_ms` from its own event loop until the timer is killed or the window ends.
class WindowTimer {
 public:
  virtual ~WindowTimer() = default;
  virtual void SetTimer(int timer_id, int64_t interval_ms, TimerEvents& target) = 0;
  virtual void KillTimer(int timer_id) = 0;
};

}  // namespace pelgar::ui
