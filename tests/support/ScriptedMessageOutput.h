#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/MessageOutput.h"

namespace pelgar::testing {

// A user who reads every message and presses the scripted buttons: queued answers first,
// then OK, or No for a Yes/No question. Records every message.
class ScriptedMessageOutput : public ui::MessageOutput {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    unsigned type = 0;
    bool plain = false;  // shown with ShowPlainMessage
  };

  int ShowMessage(std::string_view text, std::string_view caption, unsigned type) override {
    shown.push_back({std::string(text), std::string(caption), type, false});
    if (on_show) on_show(shown.back());
    return Answer(type);
  }
  int ShowPlainMessage(std::string_view text, unsigned type, unsigned) override {
    shown.push_back({std::string(text), {}, type, true});
    if (on_show) on_show(shown.back());
    return Answer(type);
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Shown& s : shown) texts.push_back(s.text);
    return texts;
  }

  std::deque<int> answers;
  // Called while a message is up, e.g. to look at the window behind it.
  std::function<void(const Shown&)> on_show;
  std::vector<Shown> shown;

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
