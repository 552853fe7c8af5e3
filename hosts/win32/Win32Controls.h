#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "hosts/win32/Win32Window.h"
#include "ui/host/Controls.h"
#include "ui/host/DialogTemplate.h"

namespace pelgar::hosts::win32 {

class DialogWindow;

// The window logic's Controls over the child windows of one dialog. The platform's own
// controls already keep most of the rules: a check state set by the program never clicks,
// a list's selection set by the program never notifies, and a typing limit (EM_LIMITTEXT)
// binds typing only, never a text that is there or that the program writes. What this adds:
// the program's write into an edit notifies exactly once, before SetText returns, even when
// the text stays the same; and the user's notifications reach the logic through the host,
// which keeps them from running while another handler runs or the reader works.
class Win32Controls : public ui::Controls {
 public:
  struct Entry {
    ui::ControlKind kind = ui::ControlKind::kStatic;
    HWND window = nullptr;
    std::string tooltip;
  };

  explicit Win32Controls(DialogWindow& dialog) : dialog_(dialog) {}

  // Takes the dialog's child windows of the template's controls, once the dialog exists.
  void Attach(HWND dialog, const ui::DialogTemplate& dialog_template);
  // The child window of a control id, or null.
  HWND Window(int id) const;
  // The tooltip control, once ActivateToolTips made it.
  HWND tooltip() const { return tooltip_; }

  // A control's notification as the platform sends it (WM_COMMAND), turned into the logic's.
  // Returns false when it is none of the controls' own.
  bool OnCommand(int id, int code, HWND control);

  // Controls.
  void SetEvents(ui::ControlEvents* events) override { events_ = events; }
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
  void Focus(int id) override;
  void ActivateToolTips(int max_width_px) override;
  void Close(int result) override;

  // Hands a notification to the logic at once: the program's own writes.
  void Notify(int id, ui::Notification notification);

 private:
  const Entry* Find(int id) const;

  DialogWindow& dialog_;
  HWND hwnd_ = nullptr;
  std::map<int, Entry> entries_;
  ui::ControlEvents* events_ = nullptr;
  HWND tooltip_ = nullptr;
  // The edit the program is writing: the platform's own change notification for it is not
  // the user's, and SetText raises the logic's itself.
  HWND writing_ = nullptr;
  // The edit that last refused typing past its limit, and its text then.
  HWND refused_edit_ = nullptr;
  std::string refused_text_;
};

}  // namespace pelgar::hosts::win32
