#pragma once

#include <memory>
#include <string>

#include "platform/SerialPort.h"

namespace pelgar::testing {

// Ports on which `frame` is answered with `reply` instead of by the reader behind them.
struct CannedReplyPorts : platform::PortFactory {
  explicit CannedReplyPorts(platform::PortFactory& ports) : inner(ports) {}
  std::unique_ptr<platform::SerialPort> Create() override { return std::make_unique<Port>(*this); }
  struct Port : platform::SerialPort {
    explicit Port(CannedReplyPorts& owner) : canned(owner), inner(owner.inner.Create()) {}
    platform::OpenResult Open(const std::string& n, int32_t b) override {
      return inner->Open(n, b);
    }
    void SetBaudRate(int32_t baud) override { inner->SetBaudRate(baud); }
    size_t Read(uint8_t* dest, size_t count, int64_t total, int64_t gap) override {
      if (pending.empty() || count == 0) return inner->Read(dest, count, total, gap);
      *dest = static_cast<uint8_t>(pending.front());
      pending.erase(0, 1);
      return 1;
    }
    bool Write(const uint8_t* data, size_t count) override {
      pending.assign(reinterpret_cast<const char*>(data), count);
      pending = pending == canned.frame ? canned.reply : "";
      return !pending.empty() || inner->Write(data, count);
    }
    bool HungUp() const override { return inner->HungUp(); }
    void Close() override { inner->Close(); }

    CannedReplyPorts& canned;
    std::unique_ptr<platform::SerialPort> inner;
    std::string pending;
  };
  platform::PortFactory& inner;
  std::string frame, reply;
};

}  // namespace pelgar::testing
