#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "app/MessageBoxService.h"
#include "ui/MessageOutput.h"

namespace pelgar::testing {

// The platform's message boxes with a scripted user: queued answers first, then OK, or No
// for a Yes/No question. Records every box.
class ScriptedMessageBoxes : public app::MessageBoxService {
 public:
  struct Box {
    std::string text;
    std::string caption;
    unsigned type = 0;
    bool application_box = false;
  };

  int ShowBox(std::string_view text, std::string_view caption, unsigned type) override {
    boxes.push_back({std::string(text), std::string(caption), type, false});
    return Answer(type);
  }
  int ShowApplicationBox(std::string_view text, unsigned type, unsigned) override {
    boxes.push_back({std::string(text), {}, type, true});
    return Answer(type);
  }

  std::deque<int> answers;
  std::vector<Box> boxes;

 private:
  int Answer(unsigned type) {
    if (!answers.empty()) {
      int answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return (type & 0x0F) == ui::box::kYesNo ? ui::answer::kNo : ui::answer::kOk;
  }
};

}  // namespace pelgar::testing
