#pragma once

#include <string>

#include "platform/RealClock.h"
#include "platform/SerialPort.h"

namespace pelgar::platform {

// A tty opened exclusively: TIOCEXCL keeps out other openers (root is let through, so an
// advisory flock is taken as well), raw 8N1. Time-outs are measured with poll() and the
// clock, because VMIN/VTIME cannot express a gap between characters together with a total.
class PosixSerialPort : public SerialPort {
 public:
  explicit PosixSerialPort(RealClock& clock) : clock_(clock) {}
  ~PosixSerialPort() override;

  OpenResult Open(const std::string& name, int32_t baud) override;
  void SetBaudRate(int32_t baud) override;
  size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) override;
  bool Write(const uint8_t* data, size_t count) override;
  bool HungUp() const override { return hung_up_; }
  void Close() override;

 private:
  bool WaitFor(short events, int64_t nominal_ms);

  RealClock& clock_;
  int fd_ = -1;
  bool hung_up_ = false;
};

class PosixPortFactory : public PortFactory {
 public:
  explicit PosixPortFactory(RealClock& clock) : clock_(clock) {}
  std::unique_ptr<SerialPort> Create() override {
    return std::make_unique<PosixSerialPort>(clock_);
  }

 private:
  RealClock& clock_;
};

// termios speed constant for a baud rate, or 0 when the platform has none.
unsigned BaudConstant(int32_t baud);

}  // namespace pelgar::platform
