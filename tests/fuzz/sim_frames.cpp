// The simulated reader's side of the line: whatever a host writes, one line of the input
// per write (frames may be split or run together), at the rate the reader listens at, so
// the ISP side is reached once a frame switches to it. The first byte picks a fault.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "sim/SimulatedReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pelgar::fuzz::SilenceStandardStreams();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  pelgar::sim::SimulatedReader reader;
  pelgar::sim::Faults& faults = reader.faults();
  const int fault = data[0] % 8;  // 0: none
  faults.reject = fault == 1;
  faults.late_commit_ms = fault == 2 ? 700 : 0;
  faults.noise = fault == 3;
  faults.long_replies = fault == 4;
  faults.isp_unacknowledged_address = fault == 5 ? 0x0010 : -1;
  faults.isp_mismatch_address = fault == 6 ? 0x0003 : -1;
  faults.silent_after_frames = fault == 7 ? 2 : -1;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  while (!bytes.empty()) {
    const size_t end = std::min(bytes.find('\n'), bytes.size());
    reader.Receive(bytes.substr(0, end), reader.state().baud);
    reader.Idle();
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
  }
  return 0;
}
