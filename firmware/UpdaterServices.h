#pragma once

#include <iosfwd>

#include "firmware/CloseItem.h"
#include "firmware/WindowTimer.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "ui/DialogHost.h"
#include "ui/FileDialogs.h"
#include "ui/MessageOutput.h"

namespace pelgar::firmware {

// What the firmware updater needs from the program: ports and time, message boxes, the
// host that shows window 132 with its timer and Close item, the open-file dialog, and the
// stream for diagnostics (a bad line of the firmware file, a read-back that went wrong).
struct UpdaterServices {
  platform::PortFactory& ports;
  platform::Clock& clock;
  ui::MessageOutput& messages;
  ui::DialogHost& dialogs;
  WindowTimer& timer;
  CloseItem& close_item;
  ui::FileDialogs& files;
  std::ostream& err;
};

}  // namespace pelgar::firmware
