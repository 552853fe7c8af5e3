#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace pelgar::platform {

// Time that passes only when somebody waits. Sleeping advances it at once.
class VirtualClock : public Clock {
 public:
  int64_t NowMs() override { return now_ms_; }
  void SleepMs(int64_t ms) override {
    if (ms > 0) now_ms_ += ms;
  }
  void AdvanceTo(int64_t ms) {
    if (ms > now_ms_) now_ms_ = ms;
  }

 private:
  int64_t now_ms_ = 0;
};

}  // namespace pelgar::platform
