#pragma once

#include "hosts/win32/Win32Controls.h"
#include "hosts/win32/Win32Window.h"
#include "ui/host/DialogLogic.h"
#include "ui/host/DialogTemplate.h"
#include "ui/host/ModalStack.h"

namespace pelgar::hosts::win32 {

class Win32Host;

// One modal dialog of the platform's dialog manager, built from its template. The dialog
// manager gives the tab order, the default button and the keyboard: Enter arrives at the
// logic as a click on kIdOk, Escape, Alt+F4 and the close box as a click on kIdCancel, the
// last three only while the close item is on. The template's system menu items follow a
// separator in the window's system menu and arrive as kMenuCommand. Only the logic ends the
// dialog, through Controls::Close.
class DialogWindow : public ui::ModalWindow {
 public:
  DialogWindow(Win32Host& host, const ui::DialogTemplate& dialog, ui::DialogLogic& logic);
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  // Shows the dialog over `owner` and runs it until the logic closes it; returns the result
  // given to Close, or -1 when the platform could not make the window.
  int Run(HWND owner);

  HWND hwnd() const { return hwnd_; }
  Win32Controls& controls() { return controls_; }
  const ui::DialogTemplate& dialog_template() const { return dialog_; }
  ui::DialogLogic& logic() { return logic_; }

  // True once the system has created the dialog; false after Run when it could not.
  bool opened() const { return opened_; }

  // A notification the user caused: reaches the logic through the host, unless a handler of
  // this window runs or the reader works, when it is dropped.
  void Deliver(int id, ui::Notification notification);

 protected:
  // Greying the system menu's Close greys the close box with it.
  void ShowCloseEnabled(bool enabled) override;
  void Finish(int result) override;

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR OnInitDialog(HWND hwnd);
  INT_PTR Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCommand(int id, int code, HWND control);
  bool IsMenuCommand(int command) const;
  void NotifyClosed();

  Win32Host& host_;
  const ui::DialogTemplate& dialog_;
  ui::DialogLogic& logic_;
  Win32Controls controls_;
  HWND hwnd_ = nullptr;
  bool opened_ = false;
  bool closed_notified_ = false;
};

}  // namespace pelgar::hosts::win32
