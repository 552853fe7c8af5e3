#include "ui/main/AboutBox.h"

#include <string>

#include "ui/main/AboutBoxIds.h"
#include "ui/main/MainWindowIds.h"
#include "version.h"

namespace pelgar::ui {
namespace {

DialogTemplate Build() {
  DialogTemplate dialog;
  dialog.id = about_id::kDialog;
  dialog.title = "About Pelgar";
  dialog.font_name = "MS Sans Serif";
  dialog.font_size = 8;
  dialog.width = 235;
  dialog.height = 55;
  dialog.controls = {
      MakeControl(kNoControlId, ControlKind::kIcon, std::to_string(main_id::kIcon),
                  {11, 17, 20, 20}),
      MakeControl(kNoControlId, ControlKind::kStatic, kVersionLinePrefix + std::string(kVersion),
                  {40, 10, 119, 8}),
      MakeControl(kNoControlId, ControlKind::kStatic, kOwnershipNotice, {40, 25, 148, 16}),
      MakeControl(kIdOk, ControlKind::kPushButton, "OK", {178, 7, 50, 14}, style::kDefaultButton),
  };
  return dialog;
}

}  // namespace

const DialogTemplate& AboutBoxTemplate() {
  static const DialogTemplate dialog = Build();
  return dialog;
}

void AboutBox::OnControl(int id, Notification notification) {
  if (notification != Notification::kClicked) return;
  if ((id == kIdOk || id == kIdCancel) && controls_ != nullptr) controls_->Close(id);
}

}  // namespace pelgar::ui
