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

HWND HandleOf(ui::ModalWindow& window) { return static_cast<DialogWindow&>(window).hwnd(); }

}  // namespace

Win32Host::Win32Host() {
  // The progress bar's and the tooltip's classes.
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof classes;
  classes.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES;
  InitCommonControlsEx(&classes);
}

Win32Host::~Win32Host() = default;

DialogWindow* Win32Host::top() const { return static_cast<DialogWindow*>(ModalStack::top()); }

int Win32Host::RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) {
  HWND owner = top() != nullptr ? top()->hwnd() : nullptr;
  DialogWindow window(*this, dialog, logic);
  Push(window);
  const int result = window.Run(owner);
  if (!window.opened()) failed_to_open_ = true;
  Pop();
  return result;
}

bool Win32Host::StartTimer(ui::ModalWindow& window, int timer_id, int64_t interval_ms) {
  HWND hwnd = HandleOf(window);
  if (hwnd == nullptr) return false;
  const auto interval = static_cast<UINT>(
      std::clamp<int64_t>(interval_ms, USER_TIMER_MINIMUM, std::numeric_limits<UINT>::max()));
  return ::SetTimer(hwnd, static_cast<UINT_PTR>(timer_id), interval, nullptr) != 0;
}

void Win32Host::StopTimer(ui::ModalWindow& window, int timer_id) {
  ::KillTimer(HandleOf(window), static_cast<UINT_PTR>(timer_id));
}

void Win32Host::ShowWaitCursor(bool on) {
  // Taken down, the control under the mouse sets its own cursor again as soon as it moves.
  SetCursor(LoadCursorA(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

void Win32Host::PassWhileWaiting() {
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
}

}  // namespace pelgar::hosts::win32
