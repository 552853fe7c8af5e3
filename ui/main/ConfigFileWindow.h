#pragma once

#include "ui/host/Controls.h"
#include "ui/host/MessageOutput.h"
#include "ui/main/EnhancedGroup.h"

namespace pelgar::ui {

// What saving and loading a configuration file need of the main window: its controls and
// message output, and the window rules and actions that a load runs.
class ConfigFileWindow {
 public:
  virtual ~ConfigFileWindow() = default;

  virtual Controls& controls() = 0;
  virtual MessageOutput& messages() = 0;
  virtual bool unattended() const = 0;
  // Raised by Get Config for a reader that knows the enhanced settings.
  virtual bool enhanced_capable() const = 0;

  // Asks whether to check "Enabled" (1007), which is off; true when the user said Yes and
  // it is checked now.
  virtual bool AskToEnableCustomConfiguration() = 0;
  // The enable rule: the option boxes and sentinel edits follow "Enabled" (1007).
  virtual void ApplyEnableRule() = 0;
  // The wrapper length rule on the wrapper texts the boxes hold: take the data from the
  // controls, let a 14-character wrapper exclude the other or recompute the budgets, and
  // put the data back (new typing limits).
  virtual void ApplyWrapperLengthRule() = 0;
  // The reader actions that an unattended load runs after reading the file. SetConfig is
  // true when the reader stored the record.
  virtual bool SetConfig() = 0;
  virtual EnhancedGroup::SetOutcome EnhancedSet() = 0;
};

}  // namespace pelgar::ui
