#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/RealClock.h"
#include "platform/SerialPort.h"

namespace pelgar::platform {

// The serial ports of the system the program runs on, for the program's entry points: each
// system implements these in its own folder (platform/posix/, platform/win32/), so that
// nothing above the platform names a system's port class.

// Makes the system's ports, which measure their time-outs on `clock`.
std::unique_ptr<PortFactory> MakeSystemPorts(RealClock& clock);

// True when the system's serial ports can be set to `baud`.
constexpr bool SystemHasBaudRate(int32_t baud) {
  return std::ranges::find(kPortBaudRates, baud) != kPortBaudRates.end();
}

}  // namespace pelgar::platform
