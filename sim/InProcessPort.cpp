#include "sim/InProcessPort.h"

#include <algorithm>

namespace pelgar::sim {

class InProcessPort : public platform::SerialPort {
 public:
  explicit InProcessPort(InProcessPortFactory& line) : line_(line) {}
  ~InProcessPort() override { Close(); }

  platform::OpenResult Open(const std::string& name, int32_t baud) override {
    if (open_) return {platform::OpenStatus::kBusy, "the port is already open"};
    std::string trimmed = name;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    if (line_.present_ports.count(trimmed) == 0) {
      return {platform::OpenStatus::kNotFound, "no such device"};
    }
    if (line_.busy || line_.open_) {
      return {platform::OpenStatus::kBusy, "the port is in use by another program"};
    }
    open_ = true;
    line_.open_ = true;
    line_.hung_up_ = false;
    line_.incoming_.clear();  // opening flushes what was left in the driver
    ++line_.open_count_;
    line_.baud_ = baud;
    return {platform::OpenStatus::kOk, {}};
  }

  void SetBaudRate(int32_t baud) override {
    if (open_) line_.baud_ = baud;
  }

  size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
    if (!open_ || line_.hung_up_ || count == 0) return 0;
    platform::VirtualClock& clock = line_.clock_;
    const int64_t start = clock.NowMs();
    int64_t deadline = start + total_ms;
    size_t received = 0;
    while (received < count) {
      if (line_.incoming_.empty() || line_.incoming_.front().at_ms > deadline) {
        clock.SleepMs(deadline - clock.NowMs());
        break;
      }
      clock.SleepMs(line_.incoming_.front().at_ms - clock.NowMs());
      dest[received++] = line_.incoming_.front().byte;
      line_.incoming_.pop_front();
      deadline = std::min(start + total_ms, clock.NowMs() + interval_ms);
    }
    return received;
  }

  bool Write(const uint8_t* data, size_t count) override {
    if (!open_ || line_.hung_up_ || line_.fail_writes) return false;
    std::string_view bytes(reinterpret_cast<const char*>(data), count);
    line_.Deliver(line_.reader_.Receive(bytes, line_.baud_));
    line_.Deliver(line_.reader_.Idle());
    return true;
  }

  bool HungUp() const override { return open_ && line_.hung_up_; }

  void Close() override {
    if (!open_) return;
    open_ = false;
    line_.open_ = false;
    line_.hung_up_ = false;
  }

 private:
  InProcessPortFactory& line_;
  bool open_ = false;
};

InProcessPortFactory::InProcessPortFactory(SimulatedReader& reader, platform::VirtualClock& clock)
    : reader_(reader), clock_(clock) {}

InProcessPortFactory::~InProcessPortFactory() = default;

std::unique_ptr<platform::SerialPort> InProcessPortFactory::Create() {
  return std::make_unique<InProcessPort>(*this);
}

void InProcessPortFactory::HangUp() {
  hung_up_ = true;
  incoming_.clear();
}

void InProcessPortFactory::Deliver(const std::vector<ReplyChunk>& chunks) {
  const int64_t now = clock_.NowMs();
  for (const ReplyChunk& chunk : chunks) {
    const int64_t at = now + std::max<int64_t>(chunk.delay_ms, 0);
    for (char c : chunk.bytes) {
      // Keep the queue in time order: a late chunk may be overtaken by an earlier one.
      auto position =
          std::upper_bound(incoming_.begin(), incoming_.end(), at,
                           [](int64_t t, const Scheduled& entry) { return t < entry.at_ms; });
      incoming_.insert(position, Scheduled{at, static_cast<uint8_t>(c)});
    }
  }
}

}  // namespace pelgar::sim
