#include "sim/SimulatedReader.h"

namespace pelgar::sim {

SimulatedReader::SimulatedReader() : isp_(state_, faults_) {}

SimulatedReader::SimulatedReader(const ReaderState& initial)
    : state_(initial), isp_(state_, faults_) {}

std::vector<ReplyChunk> SimulatedReader::Receive(std::string_view bytes, int32_t baud) {
  if (state_.isp_mode) return isp_.Receive(bytes, baud);
  if (baud != state_.baud) return {};
  return ReceiveCommandBytes(bytes);
}

void SimulatedReader::Idle() {
  if (state_.isp_mode) isp_.Idle();
}

std::vector<ReplyChunk> SimulatedReader::ReceiveCommandBytes(std::string_view bytes) {
  pending_.append(bytes);
  return {};
}

std::vector<ReplyChunk> SimulatedReader::HandleFrame(const std::string& frame) {
  frames_.push_back(frame);
  return {};
}

}  // namespace pelgar::sim
