#include "ui/update/UpdateWindowTemplate.h"

#include "ui/update/UpdateWindowIds.h"

namespace pelgar::ui {
namespace {

DialogTemplate Build() {
  DialogTemplate dialog;
  dialog.id = update_id::kDialog;
  dialog.title = "Updating Firmware to MSR...";
  dialog.font_name = "MS Sans Serif";
  dialog.font_size = 8;
  dialog.width = 159;
  dialog.height = 71;
  // A modal frame with title bar and close box, no buttons. The status line is a
  // left-aligned static text with a sunken edge; the progress bar has a border.
  ControlTemplate status;
  status.id = update_id::kStatusLine;
  status.kind = ControlKind::kStatic;
  status.text = "Static";
  status.rect = {11, 11, 136, 32};
  status.style = style::kSunken;
  ControlTemplate progress;
  progress.id = update_id::kProgressBar;
  progress.kind = ControlKind::kProgressBar;
  progress.rect = {11, 50, 135, 8};
  dialog.controls = {status, progress};
  return dialog;
}

}  // namespace

const DialogTemplate& UpdateWindowTemplate() {
  static const DialogTemplate dialog = Build();
  return dialog;
}

}  // namespace pelgar::ui
