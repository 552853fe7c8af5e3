#pragma once

#include "platform/WaitHook.h"
#include "ui/host/CloseItem.h"
#include "ui/host/DialogHost.h"
#include "ui/host/FileDialogs.h"
#include "ui/host/MessageBoxService.h"
#include "ui/host/WindowTimer.h"

namespace pelgar::app {

// Everything the program needs of whoever shows its windows: a desktop host (Qt on Linux,
// Win32 on Windows), the headless host of an unattended run, or the scripted host of the
// tests. See ui/host/Controls.h for the rules each must keep.
struct HostServices {
  ui::DialogHost& dialogs;
  ui::WindowTimer& timer;
  ui::CloseItem& close_item;
  ui::FileDialogs& files;
  ui::MessageBoxService& boxes;
  // Called between the slices of every wait while the reader works.
  platform::WaitHook& wait_hook;
};

}  // namespace pelgar::app
