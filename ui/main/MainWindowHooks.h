#pragma once

#include <cstdint>
#include <functional>

#include "ui/ReaderClaim.h"

namespace pelgar::ui {

class MainWindow;

// What the main window hands over to other parts of the program. Each hook is optional;
// an empty one makes its control do nothing.
struct MainWindowHooks {
  // Initialisation of an unattended run: performs the run with the window's own actions
  // and returns the exit status. The window then closes with that status, before the
  // steps that prepare it for a user; the program ends with it.
  std::function<int(MainWindow&)> unattended_run;
  // "Save Current Settings" (1011) and "Load Saved Config" (1012).
  std::function<void(MainWindow&)> save_configuration;
  std::function<void(MainWindow&)> load_configuration;
  // The enhanced configuration window, shown modally with copies of the port and baud
  // texts and the individual-CR allowed flag (true: the last configuration record read or
  // written had its carriage return off).
  std::function<void(const PortTexts&, bool individual_cr_allowed)> enhanced_window;
  // The firmware update window, shown modally with copies of the port and baud texts.
  std::function<void(const PortTexts&)> firmware_update;
  // The about box (dialog 100), shown modally.
  std::function<void()> about_box;
};

}  // namespace pelgar::ui
