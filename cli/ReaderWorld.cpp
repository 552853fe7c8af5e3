#include "cli/ReaderWorld.h"

#include "platform/RealClock.h"
#include "platform/SystemPorts.h"

namespace pelgar::cli {
namespace {

class PinnedPort : public platform::SerialPort {
 public:
  PinnedPort(std::unique_ptr<platform::SerialPort> inner, const std::string& target)
      : inner_(std::move(inner)), target_(target) {}
  platform::OpenResult Open(const std::string& /*name*/, int32_t baud) override {
    return inner_->Open(target_, baud);
  }
  void SetBaudRate(int32_t baud) override { inner_->SetBaudRate(baud); }
  size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override {
    return inner_->Read(dest, count, total_ms, interval_ms);
  }
  bool Write(const uint8_t* data, size_t count) override { return inner_->Write(data, count); }
  bool HungUp() const override { return inner_->HungUp(); }
  void Close() override { inner_->Close(); }

 private:
  std::unique_ptr<platform::SerialPort> inner_;
  const std::string& target_;
};

class SystemWorld : public ReaderWorld {
 public:
  SystemWorld(const ReaderTarget& target, std::shared_ptr<platform::WireTrace> trace)
      : clock_(platform::RealClock::ScaleFromEnvironment()) {
    std::unique_ptr<platform::PortFactory> ports = platform::MakeSystemPorts(clock_);
    if (trace != nullptr) {
      ports = std::make_unique<platform::TracingPortFactory>(std::move(ports), std::move(trace));
    }
    ports_ = std::make_unique<PinnedPorts>(std::move(ports), target.port);
  }
  platform::PortFactory& ports() override { return *ports_; }
  platform::Clock& clock() override { return clock_; }

 private:
  platform::RealClock clock_;
  std::unique_ptr<platform::PortFactory> ports_;
};

}  // namespace

std::unique_ptr<platform::SerialPort> PinnedPorts::Create() {
  std::unique_ptr<platform::SerialPort> port = inner_->Create();
  if (port == nullptr) return port;
  return std::make_unique<PinnedPort>(std::move(port), target_);
}

std::unique_ptr<ReaderWorld> SystemWorlds::Make(const ReaderTarget& target) {
  return std::make_unique<SystemWorld>(target, trace_);
}

}  // namespace pelgar::cli
