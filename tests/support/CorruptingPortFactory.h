#pragma once

#include "support/RecordingPorts.h"

namespace pelgar::testing {

// Ports that refuse chosen frames; they record what passes as well.
using CorruptingPortFactory = RecordingPorts;

}  // namespace pelgar::testing
