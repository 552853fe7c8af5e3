#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace pelgar::platform {

// Time that passes only when somebody waits. Sleeping advances it at once, in slices of
// kWaitSliceMs virtual milliseconds, so that tests see the wait hook as a host would. The
// slices stay that long whatever the hook asks: a host measures its own time on the real
// clock, and tests need the same slices every run.
class VirtualClock : public Clock {
 public:
  int64_t NowMs() override { return now_ms_; }
  void SleepMs(int64_t ms) override {
    while (ms > 0) {
      RunWaitHook();
      const int64_t slice = ms < kWaitSliceMs ? ms : kWaitSliceMs;
      now_ms_ += slice;
      ms -= slice;
    }
  }

 private:
  int64_t now_ms_ = 0;
};

}  // namespace pelgar::platform
