#pragma once

#include <string>

#include "ui/host/FileDialogs.h"
#include "ui/main/ConfigFileWindow.h"

namespace pelgar::config {
struct LoadedConfigFile;
}

namespace pelgar::ui {

// "Save Current Settings" (1011) and "Load Saved Config" (1012): the main window's
// controls written to and read from a configuration file. Writing an edit's text raises
// its change handling as typing would, so a load also runs the window's change rules
// (sentinels enable Set Config and Save, wrapper texts run the enhanced group's rules).
class ConfigFileActions {
 public:
  enum class LoadOutcome {
    kCancelled,   // the open dialog was cancelled
    kOpenFailed,  // "Error opening configuration file."
    kBadFormat,   // bad header or no configuration line; the controls are untouched
    kLoaded,      // the controls show the file (in an unattended run: and it was sent)
  };
  ConfigFileActions(ConfigFileWindow& window, FileDialogs& dialogs)
      : window_(window), dialogs_(dialogs) {}

  void Save();
  // The open dialog, then LoadFile.
  LoadOutcome Load();
  // Reads `path` into the controls. In an unattended run it then performs Set Config and,
  // for a file with an enhanced section and an enhanced-capable reader, the enhanced Set,
  // and closes the window. A file that cannot be opened closes the window too; the caller
  // shows the usage text then.
  LoadOutcome LoadFile(const std::string& path);

 private:
  void LoadBasicSection(const config::LoadedConfigFile& file);
  void LoadEnhancedSection(const config::LoadedConfigFile& file);
  void LoadWrapper(const std::string& text, int check_id, int edit_id);

  ConfigFileWindow& window_;
  FileDialogs& dialogs_;
};

}  // namespace pelgar::ui
