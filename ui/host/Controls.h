#pragma once

// The host contract: what whoever shows Pelgar's windows must provide.
//
// The window logic (ui/main, ui/enhanced, ui/update) is plain C++ that never touches a
// widget. Each window is a DialogLogic with its DialogTemplate as data; a host shows it with
// DialogHost::RunModal and lets the logic see the window only through Controls, addressed
// by the dialogs' control ids. A host hands its services, as one ui::HostServices
// (HostServices.h), to app::Application::RunDesktop, which wires the windows (app/Desktop)
// and runs the main window until it closes:
//   DialogHost         builds a modal dialog from a template and runs it until Controls::Close
//   Controls           this interface, over the dialog's widgets (below)
//   WindowTimer        timers of the window on top, delivered from the host's event loop
//   CloseItem          enables and disables the window's close box, Escape and Alt+F4
//   FileDialogs        the open and save dialogs
//   MessageBoxService  message boxes; every message reaches it through MessageOutput
//   platform::WaitHook called between the slices of every wait while the reader works
// ModalStack.h is the state machine of modal windows, handlers, timers and waits that keeps
// the rules below; a desktop host derives from it and adds widgets, event translation, the
// cursor and painting. DialogTemplate.h says what a host builds of a template.
// Hosts: ControlStore with app's HeadlessHost (unattended runs), tests/support's ScriptedHost
// (the reference), hosts/qt (Linux) and hosts/win32 (Windows). tests/support's
// ControlsContract checks every host against the rules below.
//
// Texts: every text that crosses the contract (control texts, titles, list entries, menu
// items, tips, message boxes, file dialog titles and filters) is bytes 0x00-0xFF, one a
// character, as on the reader and in the configuration files; a host shows them as Latin-1
// (Qt) or in the system's ANSI code page (Win32), and converts them in one place. A path
// that FileDialogs returns is the system's own file name, as the file functions take it.
//
// The rules, which several window rules depend on:
// - SetText on an edit raises its kChanged notification synchronously, before SetText
//   returns, exactly as typing would, even when the text stays the same (so handlers may run
//   re-entrantly).
// - SetCheck raises no notification; only a user click does, and a click toggles an
//   automatic check box before the handler runs.
// - A typing limit stops typing past it but never cuts text that is already there or that
//   the program writes. 0 means the default limit, kDefaultEditLimit.
// - Select raises no notification; only the user's choice raises kSelectionChanged.
// - Enter arrives as a click on kIdOk, Escape and the close box as a click on kIdCancel;
//   only the logic ends a dialog, with Close.
// - No notification or timer event from the user or a timer is delivered while another
//   handler of the same window runs: it is dropped. While the reader works (inside a wait
//   hook) user input is dropped too, not queued.
// - A dialog that the logic closes while it opens (in OnOpening) is never shown.
// - Timers die with the window that set them: none fires once RunModal has returned.

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

// The width the program's windows wrap their tips at.
inline constexpr int kToolTipWidthPx = 320;

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

  // The number of characters the user may type into an edit (0: kDefaultEditLimit).
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
  // wrapped at `max_width_px` (the program's windows use kToolTipWidthPx) and keep their own
  // line breaks.
  virtual void ActivateToolTips(int max_width_px) = 0;

  // Ends the modal window with `result` once the running handler returns.
  virtual void Close(int result) = 0;
};

}  // namespace pelgar::ui
