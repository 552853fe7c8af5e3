#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "device/DeviceSession.h"
#include "ui/host/MessageOutput.h"

namespace pelgar::ui {

inline constexpr std::string_view kNotClaimedMessage =
    "The MSR has not been claimed by the application.  Please be sure the COM port is not "
    "claimed by other applications.";
// The windows read their port and baud lists into 10-character buffers.
inline constexpr size_t kPortTextChars = 9;

// The port name ("COM3") and baud text ("19200") that a reader action claims with.
struct PortTexts {
  std::string port;
  std::string baud;
};

// The not-claimed message with its cause after a blank line: the words every version
// showed, then what the technician can fix.
std::string NotClaimedMessage(const device::ClaimFailure& failure);

// Claims the reader (up to 10 attempts); when that fails, shows the not-claimed message
// and returns null, and `failure` (when given) gets why.
std::unique_ptr<device::DeviceSession> ClaimOrReport(device::DeviceEnvironment& env,
                                                     MessageOutput& messages,
                                                     const PortTexts& texts,
                                                     device::ClaimFailure* failure = nullptr);

}  // namespace pelgar::ui
