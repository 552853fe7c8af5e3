#pragma once

#include "ui/host/DialogTemplate.h"

namespace pelgar::ui {

// Window 132, "Updating Firmware to MSR...": a status line and a progress bar.
const DialogTemplate& UpdateWindowTemplate();

}  // namespace pelgar::ui
