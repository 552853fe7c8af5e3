#pragma once

#include "platform/WaitHook.h"
#include "ui/host/CloseItem.h"
#include "ui/host/DialogHost.h"
#include "ui/host/FileDialogs.h"
#include "ui/host/MessageBoxService.h"
#include "ui/host/WindowTimer.h"

namespace pelgar::ui {

// Everything the program needs of whoever shows its windows: a desktop host (Qt on Linux,
// Win32 on Windows), the headless host of an unattended run, or the scripted host of the
// tests. A host hands it to app::Application::RunDesktop; see ui/host/Controls.h for the
// rules each service must keep.
struct HostServices {
  DialogHost& dialogs;
  WindowTimer& timer;
  CloseItem& close_item;
  FileDialogs& files;
  MessageBoxService& boxes;
  // Called between the slices of every wait while the reader works.
  platform::WaitHook& wait_hook;
};

}  // namespace pelgar::ui
