#include "app/Application.h"

#include <ostream>

#include "app/CommandLine.h"
#include "app/Desktop.h"
#include "app/HeadlessHost.h"
#include "app/RunSettings.h"
#include "app/UnattendedRun.h"
#include "device/DeviceSession.h"
#include "version.h"

namespace pelgar::app {

std::string NoWindowMessage(std::string_view why) {
  return "pelgar: cannot open the desktop window: " + std::string(why) +
         "\nApply a configuration without it: pelgar CONFIG.DAT[,COM3[,19200]]  (pelgar --help)\n";
}

bool Application::WantsDesktop(std::string_view command_line) {
  return !ParseCommandLine(command_line).Unattended();
}

int Application::Run(std::string_view command_line) {
  // As every command-line tool answers them: on standard output, at once, with success.
  if (command_line == "--help" || command_line == "-h") {
    out_ << UnattendedRun::UsageText() << std::endl;
    return kExitSuccess;
  }
  if (command_line == "--version" || command_line == "-V") {
    out_ << "pelgar " << kVersion << std::endl;
    return kExitSuccess;
  }
  RunSettings settings = ParseCommandLine(command_line);
  // Before the reader is claimed: nothing of a cut field may reach it.
  if (!settings.refused.empty()) {
    err_ << "pelgar: " << settings.refused << std::endl;
    return kExitFailure;
  }
  HeadlessHost headless;
  device::DeviceEnvironment env{ports_, clock_, out_, err_};
  Desktop desktop(settings, headless.services(), env, out_);
  int status = desktop.Run();
  out_ << std::endl;
  return status;
}

int Application::RunDesktop(const ui::HostServices& host) {
  RunSettings settings;
  device::DeviceEnvironment env{ports_, clock_, out_, err_};
  Desktop desktop(settings, host, env, out_);
  desktop.Run();
  return kExitSuccess;
}

}  // namespace pelgar::app
