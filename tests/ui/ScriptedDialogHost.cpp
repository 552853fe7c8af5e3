#include "ScriptedDialogHost.h"

namespace pelgar::ui {

int ScriptedDialogHost::RunModal(const DialogTemplate& dialog, DialogLogic& logic) {
  ++openings_;
  last_ = std::make_unique<ControlStore>(dialog);
  ControlStore& store = *last_;
  store.SetEvents(&logic);
  logic.OnOpening(store);
  if (!scripts_.empty()) {
    Script script = std::move(scripts_.front());
    scripts_.pop_front();
    if (!store.closed()) script(store);
  }
  // A modal dialog cannot stay open once its user has gone.
  if (!store.closed()) store.PressEscape();
  if (!store.closed()) store.Close(kIdCancel);
  logic.OnClosed();
  store.SetEvents(nullptr);
  return store.result();
}

}  // namespace pelgar::ui
