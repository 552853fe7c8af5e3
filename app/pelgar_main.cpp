// pelgar: applies a configuration file to a magnetic stripe reader, or sends it one
// command frame, from the command line.
#include <csignal>
#include <iostream>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "platform/RealClock.h"
#include "platform/posix/PosixSerialPort.h"

int main(int argc, char** argv) {
  // Output piped into a program that quits early must not end the run while the reader is
  // in command mode; the session still returns it to functional mode.
  std::signal(SIGPIPE, SIG_IGN);
  pelgar::platform::RealClock clock(pelgar::platform::RealClock::ScaleFromEnvironment());
  pelgar::platform::PosixPortFactory ports(clock);
  pelgar::app::Application application(ports, clock, std::cout, std::cerr);
  return application.Run(pelgar::app::JoinArguments(argc, argv));
}
