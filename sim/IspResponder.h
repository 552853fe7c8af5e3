#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "sim/Faults.h"
#include "sim/ReaderState.h"
#include "sim/ReplyChunk.h"

namespace pelgar::sim {

// The reader's in-system programming side. Once command mode has switched the reader to
// ISP mode, every byte the host sends comes here instead of to the command parser.
class IspResponder {
 public:
  IspResponder(ReaderState& state, Faults& faults);

  std::vector<ReplyChunk> Receive(std::string_view bytes, int32_t baud);
  // The line has been quiet for a while after the host wrote: ends frames that carry no
  // checksum to delimit them. Returns what the reader sends back for such a frame, with
  // delays relative to now.
  std::vector<ReplyChunk> Idle();

 private:
  ReaderState& state_;
  Faults& faults_;
};

}  // namespace pelgar::sim
