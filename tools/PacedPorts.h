#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace pelgar::tools {

// The in-process reader answers at once; a real port polls for every reply, and each poll
// starts with the wait hook. These ports make the same calls, so that a tool driving the
// real windows against the in-process reader sees them repaint as they would.
class PacedPorts : public platform::PortFactory {
 public:
  PacedPorts(platform::PortFactory& inner, platform::Clock& clock) : inner_(inner), clock_(clock) {}
  std::unique_ptr<platform::SerialPort> Create() override {
    return std::make_unique<Port>(inner_.Create(), clock_);
  }

 private:
  struct Port : platform::SerialPort {
    Port(std::unique_ptr<platform::SerialPort> port, platform::Clock& c)
        : inner(std::move(port)), clock(c) {}
    platform::OpenResult Open(const std::string& name, int32_t baud) override {
      return inner->Open(name, baud);
    }
    void SetBaudRate(int32_t baud) override { inner->SetBaudRate(baud); }
    size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
      clock.RunWaitHook();
      return inner->Read(dest, count, total_ms, interval_ms);
    }
    bool Write(const uint8_t* data, size_t count) override { return inner->Write(data, count); }
    bool HungUp() const override { return inner->HungUp(); }
    void Close() override { inner->Close(); }
    std::unique_ptr<platform::SerialPort> inner;
    platform::Clock& clock;
  };
  platform::PortFactory& inner_;
  platform::Clock& clock_;
};

}  // namespace pelgar::tools
