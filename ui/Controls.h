#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pelgar::ui {

// Notifications a control raises to the window logic.
enum class Notification {
  kClicked,  // a button or check box was clicked (an automatic check box has toggled first)
  kChanged,  // an edit's text changed, by typing or because the program wrote it
  kSelectionChanged,  // a list's selection changed by the user
  kMenuCommand,       // a command of the window's system menu was chosen (id = command)
};

// Commands every dialog receives, with or without a button of that id: Enter sends kOk
// and Escape or the close box send kCancel, as kClicked notifications.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Receives the notifications of a window's controls.
class ControlEvents {
 public:
  virtual ~ControlEvents() = default;
  virtual void OnControl(int id, Notification notification) = 0;
};

// The window logic's only view of a window: control states addressed by the resource
// control ids. Two implementations keep the same notification rules: ControlStore (in
// memory, for tests and unattended runs) and the desktop host.
//
// The rules, which several window rules depend on:
// - SetText on an edit raises its kChanged notification synchronously, before SetText
//   returns, exactly as typing would (so handlers may run re-entrantly).
// - SetCheck raises no notification; only a user click does, and a click toggles an
//   automatic check box before the handler runs.
// - A typing limit does not cut text that is already there or that the program writes.
class Controls {
 public:
  virtual ~Controls() = default;

  virtual void SetEvents(ControlEvents* events) = 0;

  virtual bool IsChecked(int id) const = 0;
  virtual void SetCheck(int id, bool checked) = 0;

  // At most `max_chars` characters of the text, as a platform read into a buffer of
  // max_chars + 1 characters would give. For a drop-down list: the selected entry's text.
  virtual std::string GetText(int id, size_t max_chars) const = 0;
  virtual void SetText(int id, std::string_view text) = 0;

  virtual bool IsEnabled(int id) const = 0;
  virtual void Enable(int id, bool enabled) = 0;
  virtual bool IsVisible(int id) const = 0;
  virtual void Show(int id, bool visible) = 0;

  // The number of characters the user may type into an edit (0: the platform's default).
  virtual void SetLimit(int id, size_t max_chars) = 0;
  virtual size_t Limit(int id) const = 0;

  // Drop-down lists. A list's entries are kept in the order given, or sorted by text when
  // its template says so. The index is -1 when nothing is selected.
  virtual void SetItems(int id, const std::vector<std::string>& items) = 0;
  virtual std::vector<std::string> Items(int id) const = 0;
  virtual void Select(int id, int index) = 0;
  virtual int Selected(int id) const = 0;

  // Progress bars.
  virtual void SetRange(int id, int low, int high) = 0;
  virtual void SetPosition(int id, int position) = 0;
  virtual int Position(int id) const = 0;

  // Moves the input focus to a control and selects its text (after a failed data exchange).
  virtual void Focus(int id) = 0;

  // Creates the window's tooltip control from the tooltip texts of its template.
  virtual void ActivateToolTips(int max_width_px) = 0;

  // Ends the modal window with `result` once the running handler returns.
  virtual void Close(int result) = 0;
};

}  // namespace pelgar::ui
