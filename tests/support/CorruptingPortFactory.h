#pragma once

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/SerialPort.h"

namespace pelgar::testing {

// Ports that record the names they are opened with and change the last checksum digit of
// the chosen frames on their way to the reader, so that it refuses just those commands.
class CorruptingPortFactory : public platform::PortFactory {
 public:
  explicit CorruptingPortFactory(platform::PortFactory& inner) : inner_(inner) {}
  std::unique_ptr<platform::SerialPort> Create() override {
    return std::make_unique<Port>(inner_.Create(), *this);
  }

  std::set<std::string> corrupted;
  std::vector<std::string> opened_names;  // as the host gave them

 private:
  struct Port : platform::SerialPort {
    Port(std::unique_ptr<platform::SerialPort> port, CorruptingPortFactory& owner)
        : inner(std::move(port)), factory(owner) {}
    platform::OpenResult Open(const std::string& name, int32_t baud) override {
      factory.opened_names.push_back(name);
      return inner->Open(name, baud);
    }
    void SetBaudRate(int32_t baud) override { inner->SetBaudRate(baud); }
    size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
      return inner->Read(dest, count, total_ms, interval_ms);
    }
    bool Write(const uint8_t* data, size_t count) override {
      std::string frame(reinterpret_cast<const char*>(data), count);
      if (!frame.empty() && factory.corrupted.count(frame) != 0) {
        frame.back() = frame.back() == '0' ? '1' : '0';
      }
      return inner->Write(reinterpret_cast<const uint8_t*>(frame.data()), frame.size());
    }
    bool HungUp() const override { return inner->HungUp(); }
    void Close() override { inner->Close(); }

    std::unique_ptr<platform::SerialPort> inner;
    CorruptingPortFactory& factory;
  };

  platform::PortFactory& inner_;
};

}  // namespace pelgar::testing
