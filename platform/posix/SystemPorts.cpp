#include "platform/SystemPorts.h"

#include "platform/posix/PosixSerialPort.h"

namespace pelgar::platform {

std::unique_ptr<PortFactory> MakeSystemPorts(RealClock& clock) {
  return std::make_unique<PosixPortFactory>(clock);
}

}  // namespace pelgar::platform
