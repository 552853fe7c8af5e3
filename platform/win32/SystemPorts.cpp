#include "platform/SystemPorts.h"

#include "platform/win32/Win32SerialPort.h"

namespace pelgar::platform {

std::unique_ptr<PortFactory> MakeSystemPorts(RealClock& clock) {
  return std::make_unique<Win32PortFactory>(clock);
}

}  // namespace pelgar::platform
