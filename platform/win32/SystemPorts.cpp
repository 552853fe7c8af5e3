#include "platform/SystemPorts.h"

#include "platform/win32/Win32SerialPort.h"

namespace pelgar::platform {

std::unique_ptr<PortFactory> MakeSystemPorts(RealClock& clock) {
  return std::make_unique<Win32PortFactory>(clock);
}

// A driver may take other rates too; these are the ones every COM port has, the same as the
// POSIX build offers, so that a setting behaves alike on both systems.
bool SystemHasBaudRate(int32_t baud) {
  switch (baud) {
    case 1200:
    case 2400:
    case 4800:
    case 9600:
    case 19200:
    case 38400:
    case 57600:
    case 115200:
      return true;
    default:
      return false;
  }
}

}  // namespace pelgar::platform
