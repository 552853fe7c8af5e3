#include "hosts/win32/Win32Desktop.h"

#include <iostream>

#include "app/Application.h"
#include "hosts/win32/Win32FileDialogs.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32MessageBoxes.h"
#include "ui/host/HostServices.h"

namespace pelgar::hosts::win32 {

int RunDesktop(app::Application& application) {
  Win32Host host;
  Win32FileDialogs files(host);
  Win32MessageBoxes boxes(host);
  ui::HostServices services{host, host, host, files, boxes, host};
  const int status = application.RunDesktop(services);
  if (host.failed_to_open()) {
    std::cerr << app::NoWindowMessage("no desktop to show it on") << std::flush;
    return app::kExitNoWindow;
  }
  return status;
}

}  // namespace pelgar::hosts::win32
