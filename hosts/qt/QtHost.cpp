#include "hosts/qt/QtHost.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>

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

// One frame at 60 Hz.
constexpr std::chrono::microseconds kFrame(16'667);

}  // namespace

QtHost::QtHost() { qApp->installEventFilter(this); }

QtHost::~QtHost() {
  if (qApp != nullptr) qApp->removeEventFilter(this);
}

DialogWindow* QtHost::top() const { return windows_.empty() ? nullptr : windows_.back(); }

int QtHost::RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) {
  DialogWindow window(*this, dialog, logic, top());
  window.controls().SetEvents(&logic);
  windows_.push_back(&window);
  Dispatch(window, [&] { logic.OnOpening(window.controls()); });
  int result = 0;
  if (window.close_requested()) {
    // Closed while opening: the window never shows.
    result = window.close_result();
  } else {
    window.show();
    if (on_shown) on_shown(window);
    result = window.close_requested() ? window.close_result() : window.exec();
  }
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->second.window == &window) {
      delete it->second.timer;
      it = timers_.erase(it);
    } else {
      ++it;
    }
  }
  logic.OnClosed();
  window.controls().SetEvents(nullptr);
  windows_.pop_back();
  return result;
}

void QtHost::SetTimer(int timer_id, int64_t interval_ms, ui::TimerEvents& target) {
  DialogWindow* window = top();
  if (window == nullptr) return;
  KillTimer(timer_id);
  auto* timer = new QTimer();
  timer->setInterval(static_cast<int>(interval_ms));
  connect(timer, &QTimer::timeout, this, [this, timer_id] { OnTimeout(timer_id); });
  timers_[timer_id] = Timer{timer, &target, window};
  timer->start();
}

void QtHost::KillTimer(int timer_id) {
  auto it = timers_.find(timer_id);
  if (it == timers_.end()) return;
  // The timer may be the one whose timeout is running: let Qt delete it afterwards.
  it->second.timer->stop();
  it->second.timer->deleteLater();
  timers_.erase(it);
}

void QtHost::OnTimeout(int timer_id) {
  auto it = timers_.find(timer_id);
  if (it == timers_.end()) return;
  DialogWindow* window = it->second.window;
  // A timer event never runs inside another handler; the timer fires again later.
  if (window == nullptr || window != top() || window->busy_depth() > 0 || waiting_) return;
  ui::TimerEvents* target = it->second.target;
  Dispatch(*window, [target, timer_id] { target->OnTimer(timer_id); });
}

void QtHost::EnableClose(bool enabled) {
  if (DialogWindow* window = top()) window->SetCloseEnabled(enabled);
}

void QtHost::Dispatch(DialogWindow& window, const std::function<void()>& handler) {
  window.Enter();
  last_pass_ = std::chrono::steady_clock::now();
  handler();
  NotePass();
  window.Leave();
  if (window.busy_depth() == 0 && wait_cursor_ &&
      std::none_of(windows_.begin(), windows_.end(),
                   [](DialogWindow* w) { return w->busy_depth() > 0; })) {
    QApplication::restoreOverrideCursor();
    wait_cursor_ = false;
  }
  window.FinishIfClosing();
}

void QtHost::NotePass() {
  auto now = std::chrono::steady_clock::now();
  const auto gap = std::chrono::duration_cast<std::chrono::microseconds>(now - last_pass_);
  longest_gap_ = std::max(longest_gap_, gap);
  missed_frames_ += gap > kFrame;
  last_pass_ = now;
}

void QtHost::OnWait() {
  if (waiting_) return;
  ++wait_calls_;
  // Called at every slice of every wait, often a few milliseconds apart: repainting that
  // often would only slow the reader's work down.
  if (std::chrono::steady_clock::now() - last_pass_ < pass_interval_) return;
  NotePass();
  if (!wait_cursor_) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    wait_cursor_ = true;
  }
  waiting_ = true;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  waiting_ = false;
  last_pass_ = std::chrono::steady_clock::now();
}

int64_t QtHost::MsUntilNextCall() const {
  // The next pass is due a slice after the last one: a wait wakes then, not a whole slice
  // after a call that came too soon to pass, and not earlier either.
  const auto since = std::chrono::steady_clock::now() - last_pass_;
  return platform::kWaitSliceMs - std::chrono::ceil<std::chrono::milliseconds>(since).count();
}

void QtHost::ResetGapMeasure() {
  longest_gap_ = std::chrono::microseconds(0);
  missed_frames_ = 0;
  wait_calls_ = 0;
  last_pass_ = std::chrono::steady_clock::now();
}

bool QtHost::eventFilter(QObject* watched, QEvent* event) {
  // While the reader works the windows only repaint: what the user does meanwhile is
  // dropped, not queued to run once the action ends.
  if (waiting_ && IsUserInput(event->type())) return true;
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
