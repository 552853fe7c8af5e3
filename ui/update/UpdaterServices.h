#pragma once

#include <iosfwd>

#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "ui/host/CloseItem.h"
#include "ui/host/DialogHost.h"
#include "ui/host/FileDialogs.h"
#include "ui/host/MessageOutput.h"
#include "ui/host/WindowTimer.h"

namespace pelgar::ui {

// What the firmware updater needs from the program: ports and time, message boxes, the
// host that shows window 132 with its timer and Close item, the open-file dialog, and the
// stream for diagnostics (a bad line of the firmware file, a read-back that went wrong).
struct UpdaterServices {
  platform::PortFactory& ports;
  platform::Clock& clock;
  MessageOutput& messages;
  DialogHost& dialogs;
  WindowTimer& timer;
  CloseItem& close_item;
  FileDialogs& files;
  std::ostream& err;
};

}  // namespace pelgar::ui
