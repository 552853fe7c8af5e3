#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace pelgar::testing {

// Passes ports through and records every write the host makes: when, at which rate, what.
class RecordingPorts : public platform::PortFactory {
 public:
  struct Write {
    int64_t at_ms = 0;
    int32_t baud = 0;
    std::string bytes;
  };

  RecordingPorts(platform::PortFactory& inner, platform::Clock& clock)
      : inner_(inner), clock_(clock) {}
  std::unique_ptr<platform::SerialPort> Create() override {
    return std::make_unique<Port>(inner_.Create(), *this);
  }

  std::vector<std::string> Frames() const {
    std::vector<std::string> frames;
    for (const Write& write : writes) frames.push_back(write.bytes);
    return frames;
  }

  std::vector<Write> writes;

 private:
  class Port : public platform::SerialPort {
   public:
    Port(std::unique_ptr<platform::SerialPort> inner, RecordingPorts& log)
        : inner_(std::move(inner)), log_(log) {}
    platform::OpenResult Open(const std::string& name, int32_t baud) override {
      baud_ = baud;
      return inner_->Open(name, baud);
    }
    void SetBaudRate(int32_t baud) override {
      baud_ = baud;
      inner_->SetBaudRate(baud);
    }
    size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
      return inner_->Read(dest, count, total_ms, interval_ms);
    }
    bool Write(const uint8_t* data, size_t count) override {
      log_.writes.push_back(
          {log_.clock_.NowMs(), baud_, std::string(reinterpret_cast<const char*>(data), count)});
      return inner_->Write(data, count);
    }
    bool HungUp() const override { return inner_->HungUp(); }
    void Close() override { inner_->Close(); }

   private:
    std::unique_ptr<platform::SerialPort> inner_;
    RecordingPorts& log_;
    int32_t baud_ = 0;
  };

  platform::PortFactory& inner_;
  platform::Clock& clock_;
};

}  // namespace pelgar::testing
