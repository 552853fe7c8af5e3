#pragma once

#include <deque>
#include <functional>
#include <memory>

#include "ui/ControlStore.h"
#include "ui/DialogHost.h"

namespace pelgar::ui {

// A modal dialog host for tests: each opening builds a ControlStore from the template,
// runs the logic's opening, then plays the next script as the user while the dialog is
// open. A script that leaves the dialog open ends with Escape. The last opening's store
// stays readable after it closed.
class ScriptedDialogHost : public DialogHost {
 public:
  using Script = std::function<void(ControlStore&)>;

  void Then(Script script) { scripts_.push_back(std::move(script)); }

  int RunModal(const DialogTemplate& dialog, DialogLogic& logic) override;

  int openings() const { return openings_; }
  ControlStore& last() { return *last_; }

 private:
  std::deque<Script> scripts_;
  std::unique_ptr<ControlStore> last_;
  int openings_ = 0;
};

}  // namespace pelgar::ui
