#pragma once

#include "ui/host/Controls.h"

namespace pelgar::ui {

// The logic of one modal dialog as the host that shows it sees it. The host builds the
// controls from the dialog's template and sends every notification to OnControl: Enter
// arrives as a click on kIdOk, Escape and the close box as a click on kIdCancel, and the
// logic ends the dialog with Controls::Close.
class DialogLogic : public ControlEvents {
 public:
  // The controls exist, in the states their template gives, and notifications already
  // reach OnControl. `controls` stays valid until OnClosed returns.
  virtual void OnOpening(Controls& controls) = 0;
  // The controls vanish after this returns.
  virtual void OnClosed() {}
};

}  // namespace pelgar::ui
