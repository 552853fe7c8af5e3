#pragma once

#include <cstdint>
#include <string>

namespace pelgar::sim {

// Bytes the reader sends back, `delay_ms` (nominal) after the bytes that caused them
// were received.
struct ReplyChunk {
  int64_t delay_ms = 0;
  std::string bytes;
};

}  // namespace pelgar::sim
