#pragma once

#include "ui/DialogLogic.h"
#include "ui/DialogTemplate.h"

namespace pelgar::ui {

// Shows dialogs modally. The desktop program renders the template with its toolkit and
// wraps the widgets in a Controls; tests run a scripted user on a ControlStore; both keep
// the notification rules of Controls, so the logic never knows which host it has.
class DialogHost {
 public:
  virtual ~DialogHost() = default;

  // Builds the dialog's controls, calls logic.OnOpening, delivers notifications until the
  // logic calls Controls::Close, calls logic.OnClosed and returns the result given to
  // Close. Blocks, as a modal dialog does.
  virtual int RunModal(const DialogTemplate& dialog, DialogLogic& logic) = 0;
};

}  // namespace pelgar::ui
