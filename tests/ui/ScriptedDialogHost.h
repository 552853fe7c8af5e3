#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <utility>

#include "ui/ControlStore.h"
#include "ui/DialogHost.h"

namespace pelgar::ui {

// A modal dialog host for tests: each opening builds a ControlStore from the template, runs
// the logic's opening, then plays the next script as the user while the dialog is open. A
// dialog still open afterwards gets Escape. The last opening's store stays readable.
class ScriptedDialogHost : public DialogHost {
 public:
  using Script = std::function<void(ControlStore&)>;

  void Then(Script script) { scripts_.push_back(std::move(script)); }
  ControlStore& last() { return *last_; }

  int RunModal(const DialogTemplate& dialog, DialogLogic& logic) override {
    last_ = std::make_unique<ControlStore>(dialog);
    last_->SetEvents(&logic);
    logic.OnOpening(*last_);
    if (!scripts_.empty()) {
      if (!last_->closed()) scripts_.front()(*last_);
      scripts_.pop_front();
    }
    if (!last_->closed()) last_->PressEscape();
    if (!last_->closed()) last_->Close(kIdCancel);  // a modal dialog cannot outlive its user
    logic.OnClosed();
    last_->SetEvents(nullptr);
    return last_->result();
  }

 private:
  std::deque<Script> scripts_;
  std::unique_ptr<ControlStore> last_;
};

}  // namespace pelgar::ui
