#pragma once

#include "ui/Controls.h"
#include "ui/DialogTemplate.h"

namespace pelgar::ui {

// The version line is this and the version from version.h; the ownership line is shown by
// the usage display too.
inline constexpr const char* kVersionLinePrefix = "Pelgar Version ";
inline constexpr const char* kOwnershipNotice = "Copyright (C) Pelgar developers";

// Dialog 100, the about box: icon, version line, ownership notice and OK.
const DialogTemplate& AboutBoxTemplate();

// The about box closes on OK, Enter, Escape or its close box; it has nothing else to do.
class AboutBox : public ControlEvents {
 public:
  explicit AboutBox(Controls& controls);
  ~AboutBox() override;
  AboutBox(const AboutBox&) = delete;
  AboutBox& operator=(const AboutBox&) = delete;

  void OnControl(int id, Notification notification) override;

 private:
  Controls& controls_;
};

}  // namespace pelgar::ui
