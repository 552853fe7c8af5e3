#pragma once

#include <cstdint>

namespace pelgar::sim {

// Misbehaviour a test or a pelgar-sim run can switch on. All off by default.
struct Faults {
  // The reader answers nothing at all.
  bool silent = false;
  // The reader answers this many frames, then falls silent; -1 = off.
  int silent_after_frames = -1;
  // Every command is refused: no ".", and "X" at position 16 of wrapper queries.
  bool reject = false;
  // The commit reply comes without "."; the "." follows after this many ms. 0 = off.
  int64_t late_commit_ms = 0;
  // Line noise: a few stray bytes before and after every reply.
  bool noise = false;
  // Replies padded beyond the 99 characters a host reply buffer holds.
  bool long_replies = false;

  // In-system programming.
  // The ISP side answers nothing at all.
  bool isp_silent = false;
  // The data record for the line at this address is answered without "." and not
  // programmed; -1 = off.
  int32_t isp_unacknowledged_address = -1;
  // The read-back reports the byte at this address inverted; -1 = off.
  int32_t isp_mismatch_address = -1;
};

}  // namespace pelgar::sim
