#pragma once

#include <iosfwd>
#include <string_view>

#include "platform/Clock.h"
#include "platform/SerialPort.h"

namespace pelgar::app {

// Shown for an empty command line, until the desktop window exists.
inline constexpr int kExitNoWindow = 2;

// The program: reads the command line into the run settings, creates the main window
// over a control store and opens it. The window's initialisation performs the unattended
// run the command line asks for, with no display involved. An empty command line asks
// for the desktop window, which this build does not have.
class Application {
 public:
  // `out` is the console (the summary and the device layer's progress line), `err` takes
  // the device layer's diagnostics.
  Application(platform::PortFactory& ports, platform::Clock& clock, std::ostream& out,
              std::ostream& err)
      : ports_(ports), clock_(clock), out_(out), err_(err) {}

  // Returns the process's exit status.
  int Run(std::string_view command_line);

 private:
  platform::PortFactory& ports_;
  platform::Clock& clock_;
  std::ostream& out_;
  std::ostream& err_;
};

}  // namespace pelgar::app
