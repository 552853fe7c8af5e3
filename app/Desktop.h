#pragma once

#include <iosfwd>

#include "app/MessageFunctions.h"
#include "app/RunSettings.h"
#include "app/UnattendedRun.h"
#include "device/DeviceSession.h"
#include "ui/enhanced/EnhancedConfigWindow.h"
#include "ui/host/HostServices.h"
#include "ui/main/AboutBox.h"
#include "ui/main/ConfigFileActions.h"
#include "ui/main/MainWindow.h"
#include "ui/update/FirmwareUpdater.h"

namespace pelgar::app {

// The one place that wires the program's windows: it owns the main window, the enhanced
// configuration window, the firmware updater, the file actions and the about box for the
// whole run, connects the main window's hooks to them, and runs the main window modally
// on the host it is given. The program ends when that window closes, with its result.
//
// An interactive run passes a desktop host; an unattended run passes a headless one over a
// control store, and the main window's opening performs the run and closes at once.
class Desktop {
 public:
  // `console` takes an unattended run's summary; `env` is the reader's ports and clock.
  Desktop(RunSettings& settings, const ui::HostServices& host, device::DeviceEnvironment& env,
          std::ostream& console);
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  // Shows the main window until it closes; returns its result (an unattended run's exit
  // status).
  int Run();

 private:
  ui::HostServices host_;
  device::DeviceEnvironment& env_;
  MessageFunctions messages_;
  ui::MainWindow main_;
  ui::EnhancedConfigWindow enhanced_;
  ui::FirmwareUpdater updater_;
  ui::ConfigFileActions files_;
  ui::AboutBox about_;
  UnattendedRun run_;
};

}  // namespace pelgar::app
