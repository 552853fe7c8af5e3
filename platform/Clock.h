#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/WaitHook.h"

namespace pelgar::platform {

// Every wait, time-out and countdown of the program goes through one clock, so that tests
// can run a 64-command reset or a whole firmware update on virtual time in milliseconds.
// Times are nominal milliseconds: what the reader protocol means by "500 ms".
class Clock {
 public:
  virtual ~Clock() = default;

  virtual int64_t NowMs() = 0;
  // Waits in slices of at most kWaitSliceMs, running the wait hook between them.
  virtual void SleepMs(int64_t ms) = 0;

  // The host's hook, or none (nullptr): without a host a wait is only a wait. Serial ports
  // run it too, between the slices of their polls.
  void SetWaitHook(WaitHook* hook) { wait_hook_ = hook; }
  // Runs the hook and returns how many real milliseconds the next slice of the wait may
  // last, from 1 to kWaitSliceMs.
  int64_t RunWaitHook() {
    if (wait_hook_ == nullptr) return kWaitSliceMs;
    wait_hook_->OnWait();
    return std::clamp<int64_t>(wait_hook_->MsUntilNextCall(), 1, kWaitSliceMs);
  }

 private:
  WaitHook* wait_hook_ = nullptr;
};

}  // namespace pelgar::platform
