#pragma once

#include <string>

namespace pelgar::ui {

// What the main window needs to know of the run. In an unattended run every reader
// action claims the reader with these port and baud texts instead of the window's lists.
struct MainWindowSettings {
  bool unattended = false;
  std::string port_name;
  std::string baud_text;
};

}  // namespace pelgar::ui
