#pragma once

#include <cstdint>

namespace pelgar::platform {

// Every wait, time-out and countdown of the program goes through one clock, so that tests
// can run a 64-command reset or a whole firmware update on virtual time in milliseconds.
// Times are nominal milliseconds: what the reader protocol means by "500 ms".
class Clock {
 public:
  virtual ~Clock() = default;

  virtual int64_t NowMs() = 0;
  virtual void SleepMs(int64_t ms) = 0;
};

}  // namespace pelgar::platform
