#include "hosts/qt/QtHost.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QTimer>

#include "hosts/qt/DialogWindow.h"

namespace pelgar::hosts::qt {
namespace {

bool IsUserInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Close:
      return true;
    default:
      return false;
  }
}

}  // namespace

QtHost::QtHost() { qApp->installEventFilter(this); }

QtHost::~QtHost() {
  if (qApp != nullptr) qApp->removeEventFilter(this);
}

DialogWindow* QtHost::top() const { return static_cast<DialogWindow*>(ModalStack::top()); }

int QtHost::RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) {
  DialogWindow window(*this, dialog, logic, top());
  window.controls().SetEvents(&logic);
  Push(window);
  Dispatch(window, [&] { logic.OnOpening(window.controls()); });
  // Closed while opening: the window never shows.
  if (!window.close_requested()) {
    window.show();
    if (on_shown) on_shown(window);
    if (!window.close_requested()) window.exec();
  }
  Pop();
  logic.OnClosed();
  window.controls().SetEvents(nullptr);
  return window.close_result();
}

bool QtHost::StartTimer(ui::ModalWindow& window, int timer_id, int64_t interval_ms) {
  auto* timer = new QTimer();
  timer->setInterval(static_cast<int>(interval_ms));
  connect(timer, &QTimer::timeout, this, [this, &window, timer_id] { Tick(window, timer_id); });
  timers_[timer_id] = timer;
  timer->start();
  return true;
}

void QtHost::StopTimer(ui::ModalWindow&, int timer_id) {
  auto it = timers_.find(timer_id);
  if (it == timers_.end()) return;
  // The timer may be the one whose timeout is running: let Qt delete it afterwards.
  it->second->stop();
  it->second->deleteLater();
  timers_.erase(it);
}

void QtHost::PassWhileWaiting() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtHost::ShowWaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

bool QtHost::eventFilter(QObject* watched, QEvent* event) {
  // While the reader works the windows only repaint: what the user does meanwhile is
  // dropped, not queued to run once the action ends.
  if (waiting() && IsUserInput(event->type())) return true;
  // The keys of the window's menu are caught before the focused control, which would
  // otherwise take them first: a check box ticks on Alt+Space, a button clicks, an edit
  // types a blank.
  if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    auto* window = dynamic_cast<DialogWindow*>(static_cast<QWidget*>(watched)->window());
    if (window != nullptr && window->OpenMenuOnKey(*static_cast<QKeyEvent*>(event))) return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pelgar::hosts::qt
