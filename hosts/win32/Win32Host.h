#pragma once

#include <cstdint>
#include <functional>

#include "hosts/win32/Win32Window.h"
#include "ui/host/DialogHost.h"
#include "ui/host/ModalStack.h"

namespace pelgar::hosts::win32 {

class DialogWindow;

// Shows the program's dialogs with the platform's dialog manager: builds each from its
// template and runs it modally until the logic closes it; the window stack, handlers,
// timers, close items and waits follow ui::ModalStack.
//
// The logic is single-threaded and a reader action blocks its window for seconds. Every
// wait of the device and firmware layers calls OnWait between slices of at most kWaitSliceMs;
// there the windows repaint and the wait cursor shows, but keyboard and mouse input and
// close requests are taken from the queue and dropped, and no timer reaches the logic, so
// nothing runs after the action for what the user did meanwhile.
class Win32Host : public ui::DialogHost, public ui::ModalStack {
 public:
  Win32Host();
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  // DialogHost
  int RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) override;

  // True when a dialog could not be created at all (no window station or display to show it
  // on): the program must not end as if the user had closed it.
  bool failed_to_open() const { return failed_to_open_; }
  // The innermost shown dialog, or null.
  DialogWindow* top() const;

  // Called with each dialog once it shows, from its own message loop and outside any
  // handler (tests and screenshots drive the real windows from here).
  std::function<void(DialogWindow&)> on_shown;

 protected:
  // SetTimer on the window's own handle: WM_TIMER reaches its dialog procedure.
  bool StartTimer(ui::ModalWindow& window, int timer_id, int64_t interval_ms) override;
  void StopTimer(ui::ModalWindow& window, int timer_id) override;
  void PassWhileWaiting() override;
  void ShowWaitCursor(bool on) override;

 private:
  bool failed_to_open_ = false;
};

}  // namespace pelgar::hosts::win32
