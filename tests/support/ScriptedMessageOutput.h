#pragma once

#include <cstdio>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/host/MessageOutput.h"

namespace pelgar::testing {

// A user who records every box as one comparable line, "caption/TT: text" (TT: the box type
// in hex) or "TT: text" for a box without a caption of its own, and presses the queued
// answers first, then OK, or No for a Yes/No question.
struct ScriptedAnswers {
  std::deque<int> answers;
  std::vector<std::string> shown;
  std::function<void()> on_show;  // called while a box is up

  int Record(std::string line, std::string_view text, unsigned type) {
    char code[8];
    std::snprintf(code, sizeof code, "%02X: ", type);
    shown.push_back(line.append(code).append(text));
    if (on_show) on_show();
    const bool question = (type & 0x0F) == ui::box::kYesNo;
    if (answers.empty()) return question ? ui::answer::kNo : ui::answer::kOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// The message output with a scripted user.
class ScriptedMessageOutput : public ui::MessageOutput, public ScriptedAnswers {
 public:
  int ShowMessage(std::string_view text, std::string_view caption, unsigned type) override {
    return Record(std::string(caption) + "/", text, type);
  }
  int ShowPlainMessage(std::string_view text, unsigned type) override {
    return Record("", text, type);
  }
};

}  // namespace pelgar::testing
