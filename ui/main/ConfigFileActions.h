#pragma once

#include <optional>
#include <string>
#include <vector>

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
  // What a load did, for an unattended run to tell on standard error.
  struct LoadResult {
    LoadOutcome outcome = LoadOutcome::kCancelled;
    // kOpenFailed and kBadFormat: the path and why ("a.dat: no such file").
    std::string cause;
    // kLoaded: values read leniently, and the first rule the wrappers break (empty: none).
    std::vector<std::string> warnings;
    std::string wrapper_problem;
    // kLoaded in an unattended run: whether the reader stored the record, and how far the
    // enhanced Set got (none: it was not made).
    bool stored = false;
    std::optional<EnhancedGroup::SetOutcome> enhanced;
  };
  ConfigFileActions(ConfigFileWindow& window, FileDialogs& dialogs)
      : window_(window), dialogs_(dialogs) {}

  void Save();
  // The open dialog, then LoadFile.
  LoadResult Load();
  // Reads `path` into the controls. In an unattended run it then performs Set Config and,
  // for a file with an enhanced section and an enhanced-capable reader, the enhanced Set,
  // and closes the window. A file that cannot be opened closes the window too; the caller
  // shows the usage text then. A file that cannot be opened is named in the message with
  // the system's reason.
  LoadResult LoadFile(const std::string& path);

 private:
  void LoadBasicSection(const config::LoadedConfigFile& file);
  void LoadEnhancedSection(const config::LoadedConfigFile& file);
  void LoadWrapper(const std::string& text, int check_id, int edit_id);

  ConfigFileWindow& window_;
  FileDialogs& dialogs_;
};

}  // namespace pelgar::ui
