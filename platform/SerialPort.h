#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace pelgar::platform {

// Why a port could not be opened. The device layer reports only success or failure; the
// reason goes to standard error so that a technician knows what to fix.
enum class OpenStatus {
  kOk,
  kNotFound,          // no such device
  kBusy,              // held by another program (or by this one)
  kPermissionDenied,  // usually: the user is not in the dialout group
  kFailed,            // anything else, including "not a serial device"
};

struct OpenResult {
  OpenStatus status = OpenStatus::kFailed;
  std::string detail;  // one line for standard error; empty on success

  bool ok() const { return status == OpenStatus::kOk; }
};

// The rates a port is ever set to: the ones every COM port has, the same on every system so
// that a setting behaves alike everywhere. A driver may take others; they are refused.
inline constexpr std::array<int32_t, 8> kPortBaudRates = {1200,  2400,  4800,  9600,
                                                          19200, 38400, 57600, 115200};
// A write that the device takes no byte of for this long (nominal) fails: the reader is gone.
inline constexpr int64_t kWriteStallMs = 5000;

// One serial device, opened exclusively, raw 8N1. All calls are synchronous.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // `name` is the program's own port name, "COM" followed by the port id ("COM3"). A rate
  // the system has no setting for is refused, and the port stays closed. The detail of a
  // failure does not repeat the name; the caller puts it in front.
  virtual OpenResult Open(const std::string& name, int32_t baud) = 0;
  // A rate the system has no setting for leaves the port as it was.
  virtual void SetBaudRate(int32_t baud) = 0;

  // Reads up to `count` bytes into `dest`. Returns as soon as `count` bytes have arrived,
  // when `interval_ms` passes without a byte after the first one, or when `total_ms` has
  // passed in all. Returns the number of bytes read.
  virtual size_t Read(uint8_t* dest, size_t count, int64_t total_ms, int64_t interval_ms) = 0;
  virtual bool Write(const uint8_t* data, size_t count) = 0;
  // The device went away (unplugged adapter, simulator ended). Reads return 0 at once.
  virtual bool HungUp() const = 0;
  virtual void Close() = 0;
};

// Makes unopened ports. The program's are the system's (SystemPorts.h); tests connect to
// the simulator.
class PortFactory {
 public:
  virtual ~PortFactory() = default;
  virtual std::unique_ptr<SerialPort> Create() = 0;
};

}  // namespace pelgar::platform
