#pragma once

#include <string>

#include "app/RunSettings.h"
#include "ui/main/ConfigFileActions.h"
#include "ui/main/MainWindow.h"

namespace pelgar::app {

// Exit statuses of the unattended runs.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // not applied, not answered, or the usage shown

// The one job the command line asked for, performed with the main window's own actions
// during its initialisation: load a configuration file into the reader, send one raw
// command frame, or show how the unattended mode is used. Every message goes through the
// window's message output, whose last one prints the summary and counts down.
class UnattendedRun {
 public:
  UnattendedRun(const RunSettings& settings, ui::ConfigFileActions& files)
      : settings_(settings), files_(files) {}

  // Dispatches on the run flags; returns the exit status.
  int Run(ui::MainWindow& window);

  int ConfigurationLoad(ui::MainWindow& window);
  int DebugCommand(ui::MainWindow& window);
  int UsageDisplay(ui::MessageOutput& messages);

  // The usage text: the version, ownership and usage lines every version of the program
  // showed, then the rest of the command line.
  static std::string UsageText();

  // The configuration file to open: the path as typed when something is there, else the
  // path in capitals, which is what the command line's case folding named, when that is
  // there; else the path as typed.
  static std::string ConfigurationPathToOpen(const std::string& typed);

 private:
  // Says how fields are separated when something named on a command line with a blank in
  // it was not found.
  void HintAtBlanks(ui::MainWindow& window, bool not_found) const;

  const RunSettings& settings_;
  ui::ConfigFileActions& files_;
};

}  // namespace pelgar::app
