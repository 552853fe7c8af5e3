#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <map>

#include "ui/host/DialogHost.h"
#include "ui/host/ModalStack.h"

class QTimer;

namespace pelgar::hosts::qt {

class DialogWindow;

// Shows the program's dialogs with Qt Widgets: builds each from its template and runs it in
// its own event loop until the logic closes it; the window stack, handlers, timers, close
// items and waits follow ui::ModalStack.
//
// The logic is single-threaded and a reader action blocks its window for seconds. Every
// wait of the device and firmware layers calls OnWait between its slices, and ends a slice
// when the next pass is due (MsUntilNextCall), so the event loop runs every kWaitSliceMs;
// there the windows repaint and the wait cursor shows, but user input is dropped, close
// requests are ignored and no timer reaches the logic.
class QtHost : public QObject, public ui::DialogHost, public ui::ModalStack {
 public:
  QtHost();
  ~QtHost() override;

  // DialogHost
  int RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) override;

  // The innermost shown dialog, or null.
  DialogWindow* top() const;

  // Called with each dialog once it is shown, before its event loop runs (tests and
  // screenshots drive the real windows from here).
  std::function<void(DialogWindow&)> on_shown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool StartTimer(ui::ModalWindow& window, int timer_id, int64_t interval_ms) override;
  void StopTimer(ui::ModalWindow& window, int timer_id) override;
  void PassWhileWaiting() override;
  void ShowWaitCursor(bool on) override;

 private:
  std::map<int, QTimer*> timers_;
};

}  // namespace pelgar::hosts::qt
