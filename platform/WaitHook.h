#pragma once

#include <cstdint>

namespace pelgar::platform {

// Every wait is cut into slices of at most this many real milliseconds, each started by the
// hook, so that a window never looks frozen for longer: 13 ms keeps it within one frame at
// 60 Hz, with room for a wake-up a few milliseconds late on a busy machine. A hook may ask
// for shorter slices (WaitHook::MsUntilNextCall).
inline constexpr int64_t kWaitSliceMs = 13;

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
  // How long, in real milliseconds, a wait may go on before it calls OnWait again (the
  // waiter keeps it between 1 and kWaitSliceMs). A host that skipped a repaint because its
  // last one was recent says when the next is due, so that the wait wakes for it rather
  // than a whole slice later, and no more often than that.
  virtual int64_t MsUntilNextCall() const { return kWaitSliceMs; }
};

}  // namespace pelgar::platform
