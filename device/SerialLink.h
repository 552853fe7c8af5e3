#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace pelgar::device {

// The only code that touches the serial port: open at a rate with fixed framing and fixed
// read time-outs, read one byte, read a block, write, change the rate, close. No buffering,
// no thread, no retry of its own.
class SerialLink {
 public:
  // Read time-outs set on every open: 500 ms between characters, 500 ms per requested
  // character in all, nothing before the first character.
  static constexpr int64_t kReadIntervalMs = 500;
  static constexpr int64_t kReadTotalMultiplierMs = 500;
  // "COM%s" into a 12-character buffer: the port id holds at most 8 characters.
  static constexpr size_t kMaxPortIdLength = 8;

  SerialLink(platform::PortFactory& ports, platform::Clock& clock);
  virtual ~SerialLink();
  SerialLink(const SerialLink&) = delete;
  SerialLink& operator=(const SerialLink&) = delete;

  // `port_id` is what follows "COM" in the port name ("3" for "COM3"). A rate a reader
  // does not talk at is refused before the port is touched.
  bool Open(std::string_view port_id, int32_t baud);
  // 1 when a byte arrived within 500 ms, else 0.
  int ReadByte(uint8_t* dest);
  // One read of up to `count` bytes; true when at least one arrived. `received`, when
  // given, gets how many did.
  bool Read(uint8_t* dest, size_t count, size_t* received = nullptr);
  bool Write(const uint8_t* data, size_t count);
  bool Write(std::string_view text);
  // False, with the port left as it is, when not open or for a rate a reader does not
  // talk at.
  bool SetBaudRate(int32_t baud);
  // Always true; the link is not open afterwards.
  bool Close();

  bool IsOpen() const { return port_ != nullptr; }
  // The device vanished while open: every read now returns nothing at once, so loops
  // that wait for a character must stop instead of spinning.
  bool Lost() const;
  // Why the last Open failed: its status, and a detail that starts with the port name
  // ("COM5: /dev/ttyS4: no such device (see PELGAR_PORT_DIR)").
  const platform::OpenResult& OpenFailure() const { return open_failure_; }
  platform::Clock& clock() { return clock_; }

 private:
  platform::PortFactory& ports_;
  platform::Clock& clock_;
  std::unique_ptr<platform::SerialPort> port_;
  platform::OpenResult open_failure_;
};

}  // namespace pelgar::device
