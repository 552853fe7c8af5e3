#include "ui/host/ModalStack.h"

#include <algorithm>

namespace pelgar::ui {
namespace {

// One frame at 60 Hz.
constexpr std::chrono::microseconds kFrame(16'667);

}  // namespace

void ModalWindow::SetCloseEnabled(bool enabled) {
  close_enabled_ = enabled;
  ShowCloseEnabled(enabled);
}

void ModalWindow::RequestClose(int result) {
  close_requested_ = true;
  close_result_ = result;
}

void ModalStack::Push(ModalWindow& window) { windows_.push_back(&window); }

void ModalStack::Pop() {
  if (windows_.empty()) return;
  ModalWindow* window = windows_.back();
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->second.window == window) {
      StopTimer(*window, it->first);
      it = timers_.erase(it);
    } else {
      ++it;
    }
  }
  windows_.pop_back();
}

void ModalStack::Dispatch(ModalWindow& window, const std::function<void()>& handler) {
  ++window.busy_depth_;
  last_pass_ = std::chrono::steady_clock::now();
  handler();
  NotePass();
  --window.busy_depth_;
  if (window.busy_depth_ == 0 && wait_cursor_) {
    wait_cursor_ = false;
    ShowWaitCursor(false);
  }
  FinishIfClosing(window);
}

bool ModalStack::Accepts(const ModalWindow& window) const {
  return !waiting_ && window.busy_depth_ == 0;
}

bool ModalStack::MayClose(const ModalWindow& window) const {
  return Accepts(window) && window.close_enabled_;
}

bool ModalStack::Deliver(ModalWindow& window, const std::function<void()>& handler) {
  if (!Accepts(window)) return false;
  Dispatch(window, handler);
  return true;
}

void ModalStack::FinishIfClosing(ModalWindow& window) {
  if (window.close_requested_ && window.busy_depth_ == 0) window.Finish(window.close_result_);
}

void ModalStack::SetTimer(int timer_id, int64_t interval_ms, TimerEvents& target) {
  ModalWindow* window = top();
  if (window == nullptr) return;
  KillTimer(timer_id);
  if (StartTimer(*window, timer_id, interval_ms)) timers_[timer_id] = Timer{window, &target};
}

void ModalStack::KillTimer(int timer_id) {
  auto it = timers_.find(timer_id);
  if (it == timers_.end()) return;
  StopTimer(*it->second.window, timer_id);
  timers_.erase(it);
}

void ModalStack::Tick(const ModalWindow& window, int timer_id) {
  auto it = timers_.find(timer_id);
  if (it == timers_.end() || it->second.window != &window || &window != top()) return;
  if (!Accepts(window)) return;
  TimerEvents* target = it->second.target;
  Dispatch(*it->second.window, [target, timer_id] { target->OnTimer(timer_id); });
}

void ModalStack::EnableClose(bool enabled) {
  if (ModalWindow* window = top()) window->SetCloseEnabled(enabled);
}

void ModalStack::OnWait() {
  if (waiting_) return;
  ++wait_calls_;
  if (std::chrono::steady_clock::now() - last_pass_ < pass_interval_) return;
  NotePass();
  ++wait_passes_;
  if (!wait_cursor_) {
    wait_cursor_ = true;
    ShowWaitCursor(true);
  }
  waiting_ = true;
  PassWhileWaiting();
  waiting_ = false;
  last_pass_ = std::chrono::steady_clock::now();
}

int64_t ModalStack::MsUntilNextCall() const {
  // The next pass is due a slice after the last one: a wait wakes then, not a whole slice
  // after a call that came too soon to pass, and not earlier either.
  const auto since = std::chrono::steady_clock::now() - last_pass_;
  return platform::kWaitSliceMs - std::chrono::ceil<std::chrono::milliseconds>(since).count();
}

void ModalStack::NotePass() {
  const auto now = std::chrono::steady_clock::now();
  const auto gap = std::chrono::duration_cast<std::chrono::microseconds>(now - last_pass_);
  longest_gap_ = std::max(longest_gap_, gap);
  missed_frames_ += gap > kFrame;
  last_pass_ = now;
}

void ModalStack::ResetGapMeasure() {
  longest_gap_ = std::chrono::microseconds(0);
  missed_frames_ = 0;
  wait_calls_ = 0;
  wait_passes_ = 0;
  last_pass_ = std::chrono::steady_clock::now();
}

}  // namespace pelgar::ui
