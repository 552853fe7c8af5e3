#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "device/SerialLink.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace pelgar::firmware {

// The firmware updater's own serial link. It stays open for a whole update and changes
// its rate in the middle, so it does not go through a device session.
class UpdaterLink {
 public:
  static constexpr int kOpenAttempts = 10;
  static constexpr int64_t kOpenPauseMs = 500;
  static constexpr int64_t kSyncPauseMs = 100;
  static constexpr std::string_view kSync = "UUUUUUUU";

  UpdaterLink(platform::PortFactory& ports, platform::Clock& clock) : link_(ports, clock) {}

  // Opens "COM3" given as port text with the baud text read as a decimal number. Up to
  // 10 attempts with a 500 ms pause after every failed one (the last included).
  bool OpenPort(std::string_view port_text, std::string_view baud_text);
  // Writes the command and collects the reply until 500 ms of silence.
  bool Exchange(std::string_view command, std::span<char> reply);
  // Writes the command and reads up to `count` characters in one read, which ends as soon
  // as they have arrived. The reply holds exactly what that read brought, terminated.
  bool CountedExchange(std::string_view command, std::span<char> reply, size_t count);
  // Changes the rate and lets the reader synchronise to it with two runs of "U".
  bool SetBaudAndSync(int32_t baud);
  void ClosePort();

  bool port_open() const { return port_open_; }
  platform::Clock& clock() { return link_.clock(); }

 private:
  device::SerialLink link_;
  bool port_open_ = false;
};

}  // namespace pelgar::firmware
