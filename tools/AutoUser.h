#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/host/FileDialogs.h"
#include "ui/host/MessageBoxService.h"
#include "ui/host/MessageOutput.h"

namespace pelgar::tools {

// A user for the tools that run the real windows unattended (both hosts' screenshots, the
// window benchmark): says OK and Yes to every box, picks `file` in every file dialog, and
// keeps the boxes' texts.
class AutoUser : public ui::MessageBoxService, public ui::FileDialogs {
 public:
  int ShowBox(std::string_view text, std::string_view, unsigned type) override {
    shown += std::string(text) + "\n";
    return (type & 0x0F) == ui::box::kYesNo ? ui::answer::kYes : ui::answer::kOk;
  }
  int ShowApplicationBox(std::string_view text, unsigned type) override {
    return ShowBox(text, {}, type);
  }
  std::optional<std::string> Choose(const ui::FileDialogRequest&) override { return file; }

  std::string file;
  std::string shown;
};

}  // namespace pelgar::tools
