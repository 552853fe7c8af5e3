// pelgar: configures a magnetic stripe reader from its desktop window, or unattended from
// the command line (a configuration file, or one command frame), with no display needed.
#include <csignal>
#include <iostream>
#include <memory>
#include <string>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "hosts/qt/QtDesktop.h"
#include "platform/RealClock.h"
#include "platform/SystemPorts.h"
#include "platform/WireTrace.h"

int main(int argc, char** argv) {
  // Output piped into a program that quits early must not end the run while the reader is
  // in command mode; the session still returns it to functional mode.
  std::signal(SIGPIPE, SIG_IGN);
  pelgar::platform::RealClock clock(pelgar::platform::RealClock::ScaleFromEnvironment());
  // Both links, the session's and the firmware updater's, make their ports here, so one
  // trace around the factory sees everything the program says to a reader.
  std::unique_ptr<pelgar::platform::PortFactory> ports =
      pelgar::platform::TracePortsFromEnvironment(pelgar::platform::MakeSystemPorts(clock),
                                                  std::cerr);
  pelgar::app::Application application(*ports, clock, std::cout, std::cerr);
  std::string command_line = pelgar::app::JoinArguments(argc, argv);
  if (pelgar::app::Application::WantsDesktop(command_line)) {
    return pelgar::hosts::qt::RunDesktop(argc, argv, application);
  }
  return application.Run(command_line);
}
