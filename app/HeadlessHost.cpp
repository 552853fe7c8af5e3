#include "app/HeadlessHost.h"

#include "ui/host/ControlStore.h"

namespace pelgar::app {

int HeadlessHost::RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) {
  ui::ControlStore controls(dialog);
  controls.SetEvents(&logic);
  logic.OnOpening(controls);
  logic.OnClosed();
  controls.SetEvents(nullptr);
  return controls.closed() ? controls.result() : 0;
}

}  // namespace pelgar::app
