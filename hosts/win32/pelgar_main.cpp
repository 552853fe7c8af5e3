// pelgar.exe: configures a magnetic stripe reader from its desktop window, or unattended from
// the command line (a configuration file, or one command frame) with its summary on a
// console.
#include <iostream>
#include <memory>
#include <string>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "hosts/win32/Console.h"
#include "hosts/win32/Win32Desktop.h"
#include "platform/RealClock.h"
#include "platform/SystemPorts.h"
#include "platform/WireTrace.h"

int main(int argc, char** argv) {
  const std::string command_line = pelgar::app::JoinArguments(argc, argv);
  const bool desktop = pelgar::app::Application::WantsDesktop(command_line);
  // Before anything is written: the trace may go to standard error.
  if (!desktop) pelgar::hosts::win32::ConnectConsole();
  pelgar::platform::RealClock clock(pelgar::platform::RealClock::ScaleFromEnvironment());
  // Both links, the session's and the firmware updater's, make their ports here, so one
  // trace around the factory sees everything the program says to a reader.
  std::unique_ptr<pelgar::platform::PortFactory> ports =
      pelgar::platform::TracePortsFromEnvironment(pelgar::platform::MakeSystemPorts(clock),
                                                  std::cerr);
  pelgar::app::Application application(*ports, clock, std::cout, std::cerr);
  if (desktop) return pelgar::hosts::win32::RunDesktop(application);
  return application.Run(command_line);
}
