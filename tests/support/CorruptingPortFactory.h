#pragma once

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/SerialPort.h"

namespace pelgar::testing {

// Ports that record the names they are opened with and garble chosen frames on their way to the
// reader (the last checksum digit is changed), so that the reader refuses just those commands and
// answers all others.
class CorruptingPortFactory : public platform::PortFactory {
 public:
  explicit CorruptingPortFactory(platform::PortFactory& inner) : inner_(inner) {}

  std::unique_ptr<platform::SerialPort> Create() override {
    return std::make_unique<Port>(inner_.Create(), *this);
  }

  std::set<std::string> corrupted;
  // Every name a port was opened with, as the host gave it.
  std::vector<std::string> opened_names;

 private:
  class Port : public platform::SerialPort {
   public:
    Port(std::unique_ptr<platform::SerialPort> inner, CorruptingPortFactory& factory)
        : inner_(std::move(inner)), factory_(factory) {}
    platform::OpenResult Open(const std::string& name, int32_t baud) override {
      factory_.opened_names.push_back(name);
      return inner_->Open(name, baud);
    }
    void SetBaudRate(int32_t baud) override { inner_->SetBaudRate(baud); }
    size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
      return inner_->Read(dest, count, total_ms, interval_ms);
    }
    bool Write(const uint8_t* data, size_t count) override {
      std::string frame(reinterpret_cast<const char*>(data), count);
      if (factory_.corrupted.count(frame) != 0 && !frame.empty()) {
        frame.back() = frame.back() == '0' ? '1' : '0';
      }
      return inner_->Write(reinterpret_cast<const uint8_t*>(frame.data()), frame.size());
    }
    bool HungUp() const override { return inner_->HungUp(); }
    void Close() override { inner_->Close(); }

   private:
    std::unique_ptr<platform::SerialPort> inner_;
    CorruptingPortFactory& factory_;
  };

  platform::PortFactory& inner_;
};

}  // namespace pelgar::testing
