#pragma once

#include "ui/host/DialogLogic.h"
#include "ui/host/DialogTemplate.h"

namespace pelgar::ui {

// The version line is this and the version from version.h; the ownership line is shown by
// the usage display too.
inline constexpr const char* kVersionLinePrefix = "Pelgar Version ";
inline constexpr const char* kOwnershipNotice = "Copyright (C) Pelgar developers";

// Dialog 100, the about box: icon, version line, ownership notice and OK.
const DialogTemplate& AboutBoxTemplate();

// The about box closes on OK, Enter, Escape or its close box; it has nothing else to do.
class AboutBox : public DialogLogic {
 public:
  void OnOpening(Controls& controls) override { controls_ = &controls; }
  void OnClosed() override { controls_ = nullptr; }
  void OnControl(int id, Notification notification) override;

 private:
  Controls* controls_ = nullptr;
};

}  // namespace pelgar::ui
