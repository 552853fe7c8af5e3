#include "hosts/win32/Win32Desktop.h"

#include "app/Application.h"
#include "app/HostServices.h"
#include "hosts/win32/Win32FileDialogs.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32MessageBoxes.h"

namespace pelgar::hosts::win32 {

int RunDesktop(app::Application& application) {
  Win32Host host;
  Win32FileDialogs files(host);
  Win32MessageBoxes boxes(host);
  app::HostServices services{host, host, host, files, boxes, host};
  return application.RunDesktop(services);
}

}  // namespace pelgar::hosts::win32
