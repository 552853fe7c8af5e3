#pragma once

#include <sstream>

#include "device/DeviceSession.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "tools/PacedPorts.h"

namespace pelgar::tools {

// The reader both hosts' screenshot makers draw against: the in-process simulated reader on
// virtual time, paced so that the update window is caught midway, with a revision and
// options that make the windows look as they do in use.
struct ScreenshotReader {
  ScreenshotReader() {
    reader.state().revision = "REV 2.30";
    reader.state().active_option_byte = 0x40 | 0x02;
  }

  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory line{reader, clock};
  PacedPorts ports{line, clock};
  std::ostringstream out, err;
  device::DeviceEnvironment env{ports, clock, out, err};
};

}  // namespace pelgar::tools
