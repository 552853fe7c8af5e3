#pragma once

// The host contract: what whoever shows Pelgar's windows must provide.
//
// The window logic (ui/main, ui/enhanced, ui/update) is plain C++ that never touches a
// widget. Each window is a DialogLogic with its DialogTemplate as data; a host shows it with
// DialogHost::RunModal and lets the logic see the window only through Controls, addressed
// by the dialogs' control ids. app/Desktop wires the windows and takes the host's services
// as one app::HostServices bundle:
//   DialogHost         builds a modal dialog from a template and runs it until Controls::Close
//   Controls           this interface, over the dialog's widgets (below)
//   WindowTimer        timers of the window on top, delivered from the host's event loop
//   CloseItem          enables and disables the window's close box, Escape and Alt+F4
//   FileDialogs        the open and save dialogs
//   MessageBoxService  message boxes; every message reaches it through MessageOutput
//   platform::WaitHook called between the slices of every wait while the reader works
// Hosts: ControlStore with app's HeadlessHost (unattended runs), tests/support's ScriptedHost
// (the reference), hosts/qt (Linux) and hosts/win32 (Windows). tests/support's
// ControlsContract checks every host against the rules below.
//
// The rules, which several window rules depend on:
// - SetText on an edit raises its kChanged notification synchronously, before SetText
//   returns, exactly as typing would, even when the text stays the same (so handlers may run
//   re-entrantly).
// - SetCheck raises no notification; only a user click does, and a click toggles an
//   automatic check box before the handler runs.
// - A typing limit stops typing past it but never cuts text that is already there or that
//   the program writes. 0 means the platform's default limit.
// - Select raises no notification; only the user's choice raises kSelectionChanged.
// - Enter arrives as a click on kIdOk, Escape and the close box as a click on kIdCancel;
//   only the logic ends a dialog, with Close.
// - No notification or timer event is delivered while another handler of the same window
//   runs; while the reader works (inside a wait hook) user input is dropped, not queued.

#include <cstddef>
#include <string>
#include <string_view>

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
// control ids, keeping the rules above.
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

  virtual void Enable(int id, bool enabled) = 0;

  // The number of characters the user may type into an edit (0: the platform's default).
  virtual void SetLimit(int id, size_t max_chars) = 0;

  // Drop-down lists, with the entries of their template, kept in the order given or sorted
  // by text when the template says so. The index is -1 when nothing is selected; an index
  // outside the list clears the selection.
  virtual void Select(int id, int index) = 0;
  virtual int Selected(int id) const = 0;

  // Progress bars.
  virtual void SetRange(int id, int low, int high) = 0;
  virtual void SetPosition(int id, int position) = 0;

  // Moves the input focus to a control and selects its text (after a failed data exchange).
  virtual void Focus(int id) = 0;

  // Creates the window's tooltip control from the tooltip texts of its template; tips are
  // wrapped at `max_width_px` and keep their own line breaks.
  virtual void ActivateToolTips(int max_width_px) = 0;

  // Ends the modal window with `result` once the running handler returns.
  virtual void Close(int result) = 0;
};

}  // namespace pelgar::ui
