#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace pelgar::testing {

// Passes ports through and records the names they are opened with and every write of the
// host: when (with a clock), at which rate, what. The frames in `corrupted` get their last
// checksum digit changed on the way, so that the reader refuses just those commands.
class RecordingPorts : public platform::PortFactory {
 public:
  struct Write {
    int64_t at_ms;
    int32_t baud;
    std::string bytes;
  };

  RecordingPorts(platform::PortFactory& inner, platform::Clock& clock)
      : inner_(inner), clock_(&clock) {}
  explicit RecordingPorts(platform::PortFactory& inner) : inner_(inner) {}
  std::unique_ptr<platform::SerialPort> Create() override {
    return std::make_unique<Port>(inner_.Create(), *this);
  }
  std::vector<std::string> Frames() const {
    std::vector<std::string> frames;
    for (const Write& write : writes) frames.push_back(write.bytes);
    return frames;
  }

  std::vector<Write> writes;
  std::vector<std::string> opened_names;  // as the host gave them
  std::set<std::string> corrupted;

 private:
  struct Port : platform::SerialPort {
    Port(std::unique_ptr<platform::SerialPort> port, RecordingPorts& owner)
        : inner(std::move(port)), log(owner) {}
    platform::OpenResult Open(const std::string& name, int32_t rate) override {
      log.opened_names.push_back(name);
      return inner->Open(name, baud = rate);
    }
    void SetBaudRate(int32_t rate) override { inner->SetBaudRate(baud = rate); }
    size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
      return inner->Read(dest, count, total_ms, interval_ms);
    }
    bool Write(const uint8_t* data, size_t count) override {
      std::string frame(reinterpret_cast<const char*>(data), count);
      log.writes.push_back({log.clock_ ? log.clock_->NowMs() : 0, baud, frame});
      if (log.corrupted.contains(frame)) frame.back() = frame.back() == '0' ? '1' : '0';
      return inner->Write(reinterpret_cast<const uint8_t*>(frame.data()), frame.size());
    }
    bool HungUp() const override { return inner->HungUp(); }
    void Close() override { inner->Close(); }

    std::unique_ptr<platform::SerialPort> inner;
    RecordingPorts& log;
    int32_t baud = 0;
  };

  platform::PortFactory& inner_;
  platform::Clock* clock_ = nullptr;
};

}  // namespace pelgar::testing
