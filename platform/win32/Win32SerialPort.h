#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/RealClock.h"
#include "platform/SerialPort.h"

namespace pelgar::platform {

// A COM port opened without sharing, so that no other program can open it meanwhile, raw
// 8N1 without flow control. Every read and write waits one slice at most: the port's
// time-outs are set to the slice and the link's own time-outs are measured on the clock,
// since the port's interval time-out counts only between bytes of one call.
class Win32SerialPort : public SerialPort {
 public:
  explicit Win32SerialPort(RealClock& clock) : clock_(clock) {}
  ~Win32SerialPort() override;

  OpenResult Open(const std::string& name, int32_t baud) override;
  void SetBaudRate(int32_t baud) override;
  size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override;
  bool Write(const uint8_t* data, size_t count) override;
  bool HungUp() const override { return hung_up_; }
  void Close() override;

 private:
  // Reads what arrives within `nominal_ms`: returns as soon as there is something, 0 when
  // the time passes or the device is gone.
  size_t ReadWithin(uint8_t* dest, size_t count, int64_t nominal_ms);
  // Sets the port's read and write time-outs to `ms` real milliseconds.
  bool SetSlice(unsigned long ms);

  RealClock& clock_;
  void* handle_ = nullptr;  // the port's HANDLE while it is open
  bool hung_up_ = false;
  unsigned long slice_ms_ = 0;  // what the port's time-outs are set to; 0: not set yet
};

class Win32PortFactory : public PortFactory {
 public:
  explicit Win32PortFactory(RealClock& clock) : clock_(clock) {}
  std::unique_ptr<SerialPort> Create() override {
    return std::make_unique<Win32SerialPort>(clock_);
  }

 private:
  RealClock& clock_;
};

}  // namespace pelgar::platform
