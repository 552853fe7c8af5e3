#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/Clock.h"

namespace pelgar::platform {

// The link's two read time-outs, the same on every system: a read ends `total_ms` after it
// began, and, once a byte has come, `interval_ms` after the last one (SerialPort::Read).
class ReadTimeouts {
 public:
  ReadTimeouts(Clock& clock, int64_t total_ms, int64_t interval_ms)
      : clock_(clock), end_(clock.NowMs() + total_ms), interval_ms_(interval_ms) {}

  // Nominal milliseconds still to wait for more bytes; 0 or less when the read is over.
  int64_t Left() const {
    const int64_t now = clock_.NowMs();
    const int64_t left = end_ - now;
    return got_bytes_ ? std::min(left, last_byte_ + interval_ms_ - now) : left;
  }
  // Bytes came just now.
  void GotBytes() {
    got_bytes_ = true;
    last_byte_ = clock_.NowMs();
  }

 private:
  Clock& clock_;
  const int64_t end_;
  const int64_t interval_ms_;
  bool got_bytes_ = false;
  int64_t last_byte_ = 0;
};

}  // namespace pelgar::platform
