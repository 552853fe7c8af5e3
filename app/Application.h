#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "app/HostServices.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace pelgar::app {

// The exit status when the desktop window cannot be shown (no display, no desktop to show it
// on): a script learns that it was the window, not the reader.
inline constexpr int kExitNoWindow = 2;
// What the program says on standard error then: that the window could not open and `why`,
// and how to apply a configuration without one.
std::string NoWindowMessage(std::string_view why);

// The program: reads the command line into the run settings and runs the windows of
// Desktop on a host. An unattended run (a configuration file, a command frame, or anything
// else, which shows the usage) needs no display: its host is a headless one over control
// stores. An empty command line asks for the desktop window, which a desktop host shows.
class Application {
 public:
  // `out` is the console (the summary and the device layer's progress line), `err` takes
  // the device layer's diagnostics.
  Application(platform::PortFactory& ports, platform::Clock& clock, std::ostream& out,
              std::ostream& err)
      : ports_(ports), clock_(clock), out_(out), err_(err) {}

  // True when the command line asks for the desktop window rather than an unattended run.
  static bool WantsDesktop(std::string_view command_line);

  // Runs what the command line asks for without a display (one that WantsDesktop turns
  // down); returns the exit status. "--help" (-h) and "--version" (-V) print the usage text or the
  // version and return 0; a field too long for its buffer is refused with one line and status 1.
  int Run(std::string_view command_line);
  // Shows the desktop window on `host` until it closes; returns the exit status (0).
  int RunDesktop(const HostServices& host);

 private:
  platform::PortFactory& ports_;
  platform::Clock& clock_;
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace pelgar::app
