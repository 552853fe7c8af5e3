#pragma once

#include "ui/host/DialogTemplate.h"

namespace pelgar::ui {

// Dialog 102, the main window: every control with its text, place, style and tip, the
// port and baud lists, and the system menu items.
const DialogTemplate& MainWindowTemplate();

}  // namespace pelgar::ui
