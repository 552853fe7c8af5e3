#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/MessageOutput.h"

namespace pelgar::testing {

// A user who presses the queued answers first, then OK, or No for a Yes/No question.
struct ScriptedAnswers {
  std::deque<int> answers;
  int Answer(unsigned type) {
    const bool question = (type & 0x0F) == ui::box::kYesNo;
    if (answers.empty()) return question ? ui::answer::kNo : ui::answer::kOk;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// The message output with a scripted user who reads and records every message.
class ScriptedMessageOutput : public ui::MessageOutput, public ScriptedAnswers {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    unsigned type = 0;
    bool plain = false;  // shown with ShowPlainMessage
  };

  int ShowMessage(std::string_view text, std::string_view caption, unsigned type) override {
    return Record({std::string(text), std::string(caption), type, false});
  }
  int ShowPlainMessage(std::string_view text, unsigned type, unsigned) override {
    return Record({std::string(text), {}, type, true});
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Shown& s : shown) texts.push_back(s.text);
    return texts;
  }

  // Called while a message is up, e.g. to look at the window behind it.
  std::function<void(const Shown&)> on_show;
  std::vector<Shown> shown;

 private:
  int Record(Shown message) {
    shown.push_back(std::move(message));
    if (on_show) on_show(shown.back());
    return Answer(shown.back().type);
  }
};

}  // namespace pelgar::testing
