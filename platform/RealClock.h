#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace pelgar::platform {

// The steady clock, optionally running faster than life: with a scale of 10 a nominal
// 500 ms wait takes 50 ms. End-to-end tests and demos against the simulator use that;
// against a real reader the scale must stay 1.
class RealClock : public Clock {
 public:
  explicit RealClock(double scale = 1.0);

  // PELGAR_TIME_SCALE when it holds a positive number, else 1.
  static double ScaleFromEnvironment();

  int64_t NowMs() override;
  void SleepMs(int64_t ms) override;

  double scale() const { return scale_; }
  // Real milliseconds for a nominal duration, rounded up so that a wait is never cut short.
  int64_t RealMs(int64_t nominal_ms) const;

 private:
  double scale_;
};

}  // namespace pelgar::platform
