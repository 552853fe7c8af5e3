// The controls' contract and the desktop's flows on the Win32 host under the platform's own
// dialog manager, driven with the messages a user's input makes.
#include "hosts/win32/DialogWindow.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32Window.h"
#include "support/ControlsContract.h"
#include "support/DesktopFlow.h"
#include "tests/hosts/win32/Win32TestUser.h"

namespace pelgar::testing {
namespace {

using hosts::win32::DialogWindow;

class Win32FlowWindow : public FlowWindow {
 public:
  explicit Win32FlowWindow(DialogWindow& window) : window_(window), user_(window) {}
  int id() override { return window_.dialog_template().id; }
  ui::Controls& controls() override { return window_.controls(); }
  ContractUser& user() override { return user_; }
  // What the system menu sends.
  void ChooseFromMenu(int command) override {
    SendMessageW(window_.hwnd(), WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
  }
  // A thread timer wakes the loop up, so that a silent failure ends the wait too.
  void RunUntil(const std::function<bool()>& done) override {
    const UINT_PTR ticker = SetTimer(nullptr, 0, 100, nullptr);
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (!done() && GetTickCount64() < deadline) {
      MSG message;
      if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
      if (!IsDialogMessageW(window_.hwnd(), &message)) DispatchMessageW(&message);
    }
    KillTimer(nullptr, ticker);
  }
  std::pair<int, int> Progress(int id) override {
    HWND bar = window_.controls().Window(id);
    return {static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)),
            static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0))};
  }
  // The mouse's messages, and the button's own click as a key or an accelerator makes it.
  void QueueClick(int id) override {
    HWND button = window_.controls().Window(id);
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    PostMessageW(button, BM_CLICK, 0, 0);
  }
  void QueueCloseRequest() override { PostMessageW(window_.hwnd(), WM_CLOSE, 0, 0); }
  // As the dialog's own loop: keys through the dialog manager.
  void RunQueued() override {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageW(window_.hwnd(), &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  }
  bool close_requested() override { return window_.close_requested(); }
  bool CloseOffered() override {
    HMENU menu = GetSystemMenu(window_.hwnd(), FALSE);
    return (GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED) == 0;
  }
  bool OwnerBlocked() override { return !IsWindowEnabled(GetWindow(window_.hwnd(), GW_OWNER)); }

 private:
  DialogWindow& window_;
  Win32TestUser user_;
};

class Win32FlowHarness : public HostHarness<hosts::win32::Win32Host, Win32FlowWindow> {
 public:
  // A corner of the window made dirty before the host's pass is painted by it.
  void OnWait() override {
    HWND top = host.top() != nullptr ? host.top()->hwnd() : nullptr;
    const RECT corner{0, 0, 1, 1};
    if (top != nullptr) InvalidateRect(top, &corner, FALSE);
    HostHarness::OnWait();
    RECT dirty;
    if (top != nullptr && !GetUpdateRect(top, &dirty, FALSE)) ++paints_;
  }
  bool wait_cursor() override { return host.wait_cursor(); }
  int paints_while_waiting() override { return paints_; }

 private:
  int paints_ = 0;
};

using Win32ContractHarness = DesktopContractHarness<hosts::win32::Win32Host, Win32TestUser>;
INSTANTIATE_TEST_SUITE_P(Hosts, ControlsContract,
                         ::testing::Values(Harness<Win32ContractHarness>("Win32Host")),
                         HarnessName);

INSTANTIATE_TEST_SUITE_P(Hosts, DesktopFlow, ::testing::Values(Flow<Win32FlowHarness>("Win32Host")),
                         FlowName);

}  // namespace
}  // namespace pelgar::testing
