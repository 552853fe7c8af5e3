#pragma once

#include <cstdint>

namespace pelgar::platform {

// What a desktop host does while the program waits for the reader: an action blocks its
// window until it ends, so the host repaints (status line, progress bar) here. It must take
// no input and deliver no timer event, or window logic would run inside its own action.
class WaitHook {
 public:
  virtual ~WaitHook() = default;
  virtual void OnWait() = 0;
};

// Every wait is cut into slices of at most this many real milliseconds, with the hook
// between them, so that a window never looks frozen for longer.
inline constexpr int64_t kWaitSliceMs = 30;

}  // namespace pelgar::platform
