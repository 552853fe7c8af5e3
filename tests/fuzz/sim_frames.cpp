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
  switch (data[0] % 8) {
    case 1:
      faults.reject = true;
      break;
    case 2:
      faults.late_commit_ms = 700;
      break;
    case 3:
      faults.noise = true;
      break;
    case 4:
      faults.long_replies = true;
      break;
    case 5:
      faults.isp_unacknowledged_address = 0x0010;
      break;
    case 6:
      faults.isp_mismatch_address = 0x0003;
      break;
    case 7:
      faults.silent_after_frames = 2;
      break;
    default:
      break;
  }
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  while (!bytes.empty()) {
    const size_t end = std::min(bytes.find('\n'), bytes.size());
    reader.Receive(bytes.substr(0, end), reader.state().baud);
    reader.Idle();
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
  }
  return 0;
}
