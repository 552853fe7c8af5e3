#include "app/RunSettings.h"

#include <string>

namespace pelgar::app {

ui::MainWindowSettings RunSettings::WindowSettings() const {
  ui::MainWindowSettings window;
  window.unattended = Unattended();
  window.port_name = std::string(port_name.view());
  window.baud_text = std::string(baud_text.view());
  return window;
}

}  // namespace pelgar::app
