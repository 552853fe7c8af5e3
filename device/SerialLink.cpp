#include "device/SerialLink.h"

#include "device/PortText.h"

namespace pelgar::device {

SerialLink::SerialLink(platform::PortFactory& ports, platform::Clock& clock)
    : ports_(ports), clock_(clock) {}

// Owners close the link explicitly; releasing the port here as well means a forgotten
// Close can never leave the device locked for the rest of the run.
SerialLink::~SerialLink() { Close(); }

bool SerialLink::Open(std::string_view port_id, int32_t baud) {
  if (port_ != nullptr) return false;
  std::string name = "COM" + std::string(port_id.substr(0, kMaxPortIdLength));
  auto fail = [&](platform::OpenStatus status, const std::string& why) {
    open_failure_ = {status, name + ": " + why};
    return false;
  };
  if (!IsReaderBaudRate(baud)) {
    return fail(platform::OpenStatus::kFailed, UnsupportedBaudRateText(baud));
  }
  auto port = ports_.Create();
  if (port == nullptr) return fail(platform::OpenStatus::kFailed, "no serial port service");
  platform::OpenResult result = port->Open(name, baud);
  if (!result.ok()) return fail(result.status, result.detail);
  open_failure_ = {platform::OpenStatus::kOk, {}};
  port_ = std::move(port);
  return true;
}

int SerialLink::ReadByte(uint8_t* dest) {
  if (port_ == nullptr) return 0;
  return port_->Read(dest, 1, kReadTotalMultiplierMs, kReadIntervalMs) == 1 ? 1 : 0;
}

bool SerialLink::Read(uint8_t* dest, size_t count, size_t* received) {
  size_t got = 0;
  if (port_ != nullptr && count > 0) {
    got = port_->Read(dest, count, kReadTotalMultiplierMs * static_cast<int64_t>(count),
                      kReadIntervalMs);
  }
  if (received != nullptr) *received = got;
  return got > 0;
}

bool SerialLink::Write(const uint8_t* data, size_t count) {
  if (port_ == nullptr) return false;
  return port_->Write(data, count);
}

bool SerialLink::Write(std::string_view text) {
  return Write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

bool SerialLink::SetBaudRate(int32_t baud) {
  if (port_ == nullptr || !IsReaderBaudRate(baud)) return false;
  port_->SetBaudRate(baud);
  return true;
}

bool SerialLink::Close() {
  if (port_ != nullptr) port_->Close();
  port_.reset();
  return true;
}

bool SerialLink::Lost() const { return port_ != nullptr && port_->HungUp(); }

}  // namespace pelgar::device
