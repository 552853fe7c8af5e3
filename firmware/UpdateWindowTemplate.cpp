#include "firmware/UpdateWindowTemplate.h"

#include "firmware/UpdateWindowIds.h"

namespace pelgar::firmware {
namespace {

ui::DialogTemplate Build() {
  ui::DialogTemplate dialog;
  dialog.id = kUpdateDialogId;
  dialog.title = "Updating Firmware to MSR...";
  dialog.font_name = "MS Sans Serif";
  dialog.font_size = 8;
  dialog.width = 159;
  dialog.height = 71;
  // A modal frame with title bar and close box, no buttons. The status line is a
  // left-aligned static text with a sunken edge; the progress bar has a border.
  ui::ControlTemplate status;
  status.id = kStatusLineId;
  status.kind = ui::ControlKind::kStatic;
  status.text = "Static";
  status.rect = {11, 11, 136, 32};
  ui::ControlTemplate progress;
  progress.id = kProgressBarId;
  progress.kind = ui::ControlKind::kProgressBar;
  progress.rect = {11, 50, 135, 8};
  dialog.controls = {status, progress};
  return dialog;
}

}  // namespace

const ui::DialogTemplate& UpdateWindowTemplate() {
  static const ui::DialogTemplate dialog = Build();
  return dialog;
}

}  // namespace pelgar::firmware
