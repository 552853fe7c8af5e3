#pragma once

#include "ui/DialogTemplate.h"

namespace pelgar::firmware {

// Window 132, "Updating Firmware to MSR...": a status line and a progress bar.
const ui::DialogTemplate& UpdateWindowTemplate();

}  // namespace pelgar::firmware
