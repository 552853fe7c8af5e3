#include "platform/RealClock.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace pelgar::platform {

RealClock::RealClock(double scale) : scale_(scale > 0 && std::isfinite(scale) ? scale : 1.0) {}

double RealClock::ScaleFromEnvironment() {
  const char* text = std::getenv("PELGAR_TIME_SCALE");
  if (text == nullptr || *text == '\0') return 1.0;
  char* end = nullptr;
  double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(value > 0) || !std::isfinite(value)) return 1.0;
  return value;
}

int64_t RealClock::NowMs() {
  auto since_start = std::chrono::steady_clock::now().time_since_epoch();
  double real_ms = std::chrono::duration<double, std::milli>(since_start).count();
  return static_cast<int64_t>(real_ms * scale_);
}

void RealClock::SleepMs(int64_t ms) {
  if (ms <= 0) return;
  using std::chrono::steady_clock;
  // The end is fixed first, so the time the hook takes is part of the wait, not added to it.
  const steady_clock::time_point end =
      steady_clock::now() + std::chrono::microseconds(static_cast<int64_t>(
                                std::ceil(static_cast<double>(ms) * 1000.0 / scale_)));
  for (;;) {
    const std::chrono::milliseconds slice(RunWaitHook());
    const steady_clock::time_point now = steady_clock::now();
    if (end - now <= slice) {
      // Some systems wake a sleep a little early (Windows' timer granularity): a wait of
      // "500 ms" must never be shorter than that, or a reply could be given up on too soon.
      while (steady_clock::now() < end) std::this_thread::sleep_until(end);
      return;
    }
    std::this_thread::sleep_until(now + slice);
  }
}

int64_t RealClock::RealMs(int64_t nominal_ms) const {
  if (nominal_ms <= 0) return 0;
  return static_cast<int64_t>(std::ceil(static_cast<double>(nominal_ms) / scale_));
}

}  // namespace pelgar::platform
