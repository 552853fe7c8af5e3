#include "platform/SystemPorts.h"

#include "platform/posix/PosixSerialPort.h"

namespace pelgar::platform {

std::unique_ptr<PortFactory> MakeSystemPorts(RealClock& clock) {
  return std::make_unique<PosixPortFactory>(clock);
}

bool SystemHasBaudRate(int32_t baud) { return BaudConstant(baud) != 0; }

}  // namespace pelgar::platform
