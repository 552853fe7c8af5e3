#include "hosts/win32/Win32Host.h"

#include <algorithm>
#include <limits>

#include "hosts/win32/DialogWindow.h"

namespace pelgar::hosts::win32 {
namespace {

// What the user does, and what a window is asked to close by: while the reader works these
// are taken from the queue and dropped, so that nothing runs once the action ends for what
// was done meanwhile. A tool's BM_CLICK or WM_COMMAND stands for a click.
constexpr struct {
  UINT first;
  UINT last;
} kDroppedWhileWaiting[] = {
    {WM_KEYFIRST, WM_KEYLAST},
    {WM_MOUSEFIRST, WM_MOUSELAST},
    {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
    {WM_NCMOUSEHOVER, WM_MOUSELEAVE},
    {WM_CLOSE, WM_CLOSE},
    {WM_SYSCOMMAND, WM_SYSCOMMAND},
    {WM_COMMAND, WM_COMMAND},
    {BM_CLICK, BM_CLICK},
};

// A window whose painting never validates it must not hold a wait forever.
constexpr int kMostPaintsPerPass = 64;

}  // namespace

Win32Host::Win32Host() {
  // The progress bar's and the tooltip's classes.
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof classes;
  classes.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES;
  InitCommonControlsEx(&classes);
}

Win32Host::~Win32Host() = default;

int Win32Host::RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) {
  HWND owner = top() != nullptr ? top()->hwnd() : nullptr;
  DialogWindow window(*this, dialog, logic);
  windows_.push_back(&window);
  const int result = window.Run(owner);
  if (!window.opened()) failed_to_open_ = true;
  for (auto it = timers_.begin(); it != timers_.end();) {
    it = it->second.window == &window ? timers_.erase(it) : std::next(it);
  }
  windows_.pop_back();
  return result;
}

void Win32Host::SetTimer(int timer_id, int64_t interval_ms, ui::TimerEvents& target) {
  DialogWindow* window = top();
  if (window == nullptr || window->hwnd() == nullptr) return;
  KillTimer(timer_id);
  const auto interval = static_cast<UINT>(
      std::clamp<int64_t>(interval_ms, USER_TIMER_MINIMUM, std::numeric_limits<UINT>::max()));
  if (::SetTimer(window->hwnd(), static_cast<UINT_PTR>(timer_id), interval, nullptr) == 0) return;
  timers_[timer_id] = Timer{window, &target};
}

void Win32Host::KillTimer(int timer_id) {
  auto it = timers_.find(timer_id);
  if (it == timers_.end()) return;
  ::KillTimer(it->second.window->hwnd(), static_cast<UINT_PTR>(timer_id));
  timers_.erase(it);
}

void Win32Host::OnTimerMessage(DialogWindow& window, UINT_PTR timer_id) {
  auto it = timers_.find(static_cast<int>(timer_id));
  if (it == timers_.end() || it->second.window != &window) return;
  // A timer event never runs inside another handler; the timer fires again later.
  if (&window != top() || window.busy_depth() > 0 || waiting_) return;
  ui::TimerEvents* target = it->second.target;
  const int id = it->first;
  Dispatch(window, [target, id] { target->OnTimer(id); });
}

void Win32Host::EnableClose(bool enabled) {
  if (DialogWindow* window = top()) window->SetCloseEnabled(enabled);
}

void Win32Host::Dispatch(DialogWindow& window, const std::function<void()>& handler) {
  window.Enter();
  handler();
  window.Leave();
  if (window.busy_depth() == 0) EndWaitCursor();
  window.FinishIfClosing();
}

void Win32Host::EndWaitCursor() {
  if (!wait_cursor_) return;
  wait_cursor_ = false;
  // The control under the mouse sets its own cursor again as soon as the mouse moves.
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void Win32Host::OnWait() {
  if (waiting_) return;
  ++wait_calls_;
  // Called at every slice of every wait, often a few milliseconds apart: going through the
  // queue that often would only slow the reader's work down.
  if (std::chrono::steady_clock::now() - last_pass_ < pass_interval_) return;
  ++wait_passes_;
  waiting_ = true;
  wait_cursor_ = true;
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  MSG message;
  for (const auto& range : kDroppedWhileWaiting) {
    while (PeekMessageW(&message, nullptr, range.first, range.last, PM_REMOVE)) {
    }
  }
  // Painting only: the status line and the progress bar show what the reader is doing.
  // Timers and everything else wait for the window's own loop.
  for (int painted = 0; painted < kMostPaintsPerPass &&
                        PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE);
       ++painted) {
    DispatchMessageW(&message);
  }
  waiting_ = false;
  last_pass_ = std::chrono::steady_clock::now();
}

}  // namespace pelgar::hosts::win32
