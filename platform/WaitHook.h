#pragma once

#include <cstdint>

namespace pelgar::platform {

// What a desktop host does while the program waits for the reader: an action blocks its
// window until it ends, so the host repaints (status line, progress bar) here. It must take
// no input and deliver no timer event, or window logic would run inside its own action.
//
// It is called at the start of every slice of every wait, so also when a wait ends within
// its first slice: a firmware update is thousands of short waits in a row, and a hook called
// only between slices would never run during it. A host therefore keeps OnWait cheap when
// little time has passed since it last repainted.
class WaitHook {
 public:
  virtual ~WaitHook() = default;
  virtual void OnWait() = 0;
};

// Every wait is cut into slices of at most this many real milliseconds, each started by the
// hook, so that a window never looks frozen for longer. A host that skips a repaint when its
// last one is a few milliseconds old adds that much to a slice; 10 ms keeps the two within
// one frame at 60 Hz, and waking a hundred times a second costs next to nothing.
inline constexpr int64_t kWaitSliceMs = 10;

}  // namespace pelgar::platform
