#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/ScriptedMessageOutput.h"
#include "ui/host/MessageBoxService.h"

namespace pelgar::testing {

// The platform's message boxes with a scripted user; records every box.
class ScriptedMessageBoxes : public ui::MessageBoxService, public ScriptedAnswers {
 public:
  struct Box {
    std::string text, caption;
    unsigned type = 0;
    bool application_box = false;
  };

  int ShowBox(std::string_view text, std::string_view caption, unsigned type) override {
    boxes.push_back({std::string(text), std::string(caption), type, false});
    return Answer(type);
  }
  int ShowApplicationBox(std::string_view text, unsigned type) override {
    boxes.push_back({std::string(text), {}, type, true});
    return Answer(type);
  }

  std::vector<Box> boxes;
};

}  // namespace pelgar::testing
