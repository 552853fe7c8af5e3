#include "app/Application.h"

#include <ostream>

#include "app/CommandLine.h"
#include "app/Desktop.h"
#include "app/HeadlessHost.h"
#include "app/RunSettings.h"
#include "app/UnattendedRun.h"
#include "device/DeviceSession.h"

namespace pelgar::app {

bool Application::WantsDesktop(std::string_view command_line) {
  return !ParseCommandLine(command_line).Unattended();
}

int Application::Run(std::string_view command_line) {
  RunSettings settings = ParseCommandLine(command_line);
  if (!settings.Unattended()) {
    err_ << "pelgar: the desktop window is not available in this build.\n"
         << "Apply a configuration with: pelgar CONFIG.DAT[,COM3[,19200]]  (pelgar --help)"
         << std::endl;
    return kExitNoWindow;
  }
  HeadlessHost headless;
  device::DeviceEnvironment env{ports_, clock_, out_, err_};
  Desktop desktop(settings, headless.services(), env, out_);
  int status = desktop.Run();
  out_ << std::endl;
  return status;
}

int Application::RunDesktop(const HostServices& host) {
  RunSettings settings;
  device::DeviceEnvironment env{ports_, clock_, out_, err_};
  Desktop desktop(settings, host, env, out_);
  desktop.Run();
  return kExitSuccess;
}

}  // namespace pelgar::app
