#pragma once

#include "ui/host/DialogLogic.h"
#include "ui/host/DialogTemplate.h"

namespace pelgar::ui {

// Shows dialogs modally. The desktop program builds a dialog from the template (pixels
// from dialog units, tips from the tooltip texts), wraps its widgets in a Controls, calls
// OnOpening and runs its event loop until Controls::Close ends it with that result. Tests
// run a scripted user on a ControlStore instead. Both keep the notification rules of
// Controls, so the logic never knows which host it has.
class DialogHost {
 public:
  virtual ~DialogHost() = default;

  // Builds the dialog's controls, calls logic.OnOpening, delivers notifications until the
  // logic calls Controls::Close, calls logic.OnClosed and returns the result given to
  // Close. Blocks, as a modal dialog does. A dialog closed in OnOpening is never shown, and
  // the timers set for it are gone once this returns.
  virtual int RunModal(const DialogTemplate& dialog, DialogLogic& logic) = 0;
};

}  // namespace pelgar::ui
