#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/host/Controls.h"
#include "ui/host/DialogTemplate.h"

namespace pelgar::ui {

// The controls of one window, in memory: what tests and unattended runs drive instead of
// widgets. It keeps the platform's notification rules (see Controls) and also plays the
// user: clicking, typing, choosing list entries, pressing Enter or Escape.
//
// Addressing a control that the store does not hold changes nothing and reads as empty;
// the id is recorded in unknown_ids(), so that a test can tell a misspelt id.
class ControlStore : public Controls {
 public:
  ControlStore() = default;
  // Every control of the template in its start state (texts, styles, list entries).
  explicit ControlStore(const DialogTemplate& dialog);

  // Adds a control, replacing one with the same id.
  void Add(const ControlTemplate& control);

  // Controls.
  void SetEvents(ControlEvents* events) override { events_ = events; }
  bool IsChecked(int id) const override;
  void SetCheck(int id, bool checked) override;
  std::string GetText(int id, size_t max_chars) const override;
  void SetText(int id, std::string_view text) override;
  void Enable(int id, bool enabled) override;
  void SetLimit(int id, size_t max_chars) override;
  void Select(int id, int index) override;
  int Selected(int id) const override;
  void SetRange(int id, int low, int high) override;
  void SetPosition(int id, int position) override;
  void Focus(int id) override { focused_ = id; }
  void ActivateToolTips(int max_width_px) override;
  void Close(int result) override;

  // The user. Each returns false and does nothing when the control is missing, hidden,
  // disabled or of a kind that does not take this input, when the window has closed, or
  // while a handler of the window runs (what the user does then is dropped).
  bool Click(int id);
  // Types characters at the end of an edit's text, one change notification per character
  // taken. Characters beyond the typing limit are refused, as a platform edit beeps.
  bool Type(int id, std::string_view chars);
  // Deletes characters from the end of an edit's text, one notification per character.
  bool Backspace(int id, size_t count = 1);
  // Selects all of an edit's text and pastes `text` over it: one notification, and the
  // pasted text is cut at the typing limit.
  bool Paste(int id, std::string_view text);
  // Chooses a list entry: kSelectionChanged.
  bool Choose(int id, int index);
  void PressEnter();
  void PressEscape();
  void ChooseMenuCommand(int command);

  // Inspection for tests and hosts.
  ControlKind Kind(int id) const;
  bool IsEnabled(int id) const;
  bool IsVisible(int id) const;
  size_t Limit(int id) const;
  int Position(int id) const;
  // The full text, without a read limit.
  std::string Text(int id) const { return GetText(id, std::string::npos); }
  bool closed() const { return closed_; }
  int result() const { return result_; }
  int focused() const { return focused_; }
  bool tooltips_active() const { return tooltip_width_ > 0; }
  // The control's tip while the tooltip control exists, else empty.
  std::string ToolTip(int id) const;
  const std::vector<int>& unknown_ids() const { return unknown_ids_; }

 private:
  struct Control {
    ControlKind kind = ControlKind::kStatic;
    unsigned style = 0;
    std::string text;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    size_t limit = 0;
    std::vector<std::string> items;
    int selected = -1;
    int low = 0;
    int high = 100;
    int position = 0;
    std::string tooltip;
  };

  Control* Find(int id);
  const Control* Find(int id) const;
  // The control when the user can reach it: present, shown, enabled, window open and no
  // handler running.
  Control* Reachable(int id);
  void Notify(int id, Notification notification);

  std::map<int, Control> controls_;
  ControlEvents* events_ = nullptr;
  mutable std::vector<int> unknown_ids_;
  bool closed_ = false;
  int result_ = 0;
  int focused_ = kNoControlId;
  int tooltip_width_ = 0;
  int handler_depth_ = 0;
};

}  // namespace pelgar::ui
