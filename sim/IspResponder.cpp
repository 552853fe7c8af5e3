#include "sim/IspResponder.h"

namespace pelgar::sim {

IspResponder::IspResponder(ReaderState& state, Faults& faults) : state_(state), faults_(faults) {}

// Placeholder until the programming dialects exist: the reader stays silent in ISP mode.
std::vector<ReplyChunk> IspResponder::Receive(std::string_view /*bytes*/, int32_t /*baud*/) {
  return {};
}

std::vector<ReplyChunk> IspResponder::Idle() { return {}; }

}  // namespace pelgar::sim
