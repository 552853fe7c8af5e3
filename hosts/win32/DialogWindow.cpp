#include "hosts/win32/DialogWindow.h"

#include <algorithm>
#include <vector>

#include "hosts/win32/DialogResource.h"
#include "hosts/win32/Win32Host.h"

namespace pelgar::hosts::win32 {
namespace {

using ui::Notification;

// Posted by WM_INITDIALOG: it arrives once the dialog manager has shown the window.
constexpr UINT kShownMessage = WM_APP + 1;

// The low four bits of a system command are the platform's own.
constexpr WPARAM kSystemCommandMask = 0xFFF0;

void SetWindowIcon(HWND hwnd, int icon_id) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const wchar_t* name = MAKEINTRESOURCEW(icon_id);
  const struct {
    WPARAM which;
    int width;
    int height;
  } sizes[] = {{ICON_BIG, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)},
               {ICON_SMALL, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)}};
  for (const auto& size : sizes) {
    // Shared icons belong to the system, which frees them with the program.
    HANDLE icon = LoadImageW(instance, name, IMAGE_ICON, size.width, size.height, LR_SHARED);
    if (icon != nullptr) SendMessageW(hwnd, WM_SETICON, size.which, reinterpret_cast<LPARAM>(icon));
  }
}

}  // namespace

DialogWindow::DialogWindow(Win32Host& host, const ui::DialogTemplate& dialog,
                           ui::DialogLogic& logic)
    : host_(host), dialog_(dialog), logic_(logic), controls_(*this) {}

int DialogWindow::Run(HWND owner) {
  std::vector<uint16_t> resource = BuildDialogResource(dialog_);
  const INT_PTR ended = DialogBoxIndirectParamW(
      GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(resource.data()), owner,
      &DialogWindow::Procedure, reinterpret_cast<LPARAM>(this));
  // Ended some other way than by the logic (its owner went, say): it still hears of it.
  NotifyClosed();
  if (!opened_ || ended == -1) return -1;
  return close_result();
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* window = reinterpret_cast<DialogWindow*>(lparam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
    return window->OnInitDialog(hwnd);
  }
  auto* window = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (window == nullptr) return FALSE;
  return window->Handle(message, wparam, lparam);
}

INT_PTR DialogWindow::OnInitDialog(HWND hwnd) {
  hwnd_ = hwnd;
  controls_.Attach(hwnd, dialog_);
  if (!dialog_.system_menu.empty()) {
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (const ui::MenuItem& item : dialog_.system_menu) {
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item.command), item.text.c_str());
    }
  }
  if (dialog_.icon_id != 0) SetWindowIcon(hwnd, dialog_.icon_id);
  controls_.SetEvents(&logic_);
  opened_ = true;
  host_.Dispatch(*this, [this] { logic_.OnOpening(controls_); });
  if (!close_requested()) PostMessageW(hwnd, kShownMessage, 0, 0);
  // The dialog manager puts the focus on the first control with a tab stop.
  return TRUE;
}

INT_PTR DialogWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kShownMessage:
      if (host_.on_shown) host_.on_shown(*this);
      ui::ModalStack::FinishIfClosing(*this);
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return TRUE;
    case WM_SYSCOMMAND: {
      const int command = static_cast<int>(wparam & kSystemCommandMask);
      if (command == SC_CLOSE && !close_enabled()) return TRUE;  // Alt+F4 and the close box
      if (!IsMenuCommand(command)) return FALSE;
      Deliver(command, Notification::kMenuCommand);
      return TRUE;
    }
    case WM_CLOSE:
      // The dialog manager would end the dialog itself; the logic decides instead.
      if (host_.MayClose(*this)) Deliver(ui::kIdCancel, Notification::kClicked);
      return TRUE;
    case WM_TIMER:
      host_.Tick(*this, static_cast<int>(wparam));
      return TRUE;
    case WM_SETCURSOR:
      if (!host_.wait_cursor()) return FALSE;
      SetCursor(LoadCursorA(nullptr, IDC_WAIT));
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
      return TRUE;
    default:
      return FALSE;
  }
}

void DialogWindow::OnCommand(int id, int code, HWND control) {
  if (control != nullptr && controls_.OnCommand(id, code, control)) return;
  // Enter and Escape, from the dialog manager, with no control of that id to click.
  if (id == IDOK) {
    Deliver(ui::kIdOk, Notification::kClicked);
  } else if (id == IDCANCEL && host_.MayClose(*this)) {
    Deliver(ui::kIdCancel, Notification::kClicked);
  }
}

bool DialogWindow::IsMenuCommand(int command) const {
  return std::any_of(dialog_.system_menu.begin(), dialog_.system_menu.end(),
                     [command](const ui::MenuItem& item) { return item.command == command; });
}

void DialogWindow::Deliver(int id, Notification notification) {
  host_.Deliver(*this, [this, id, notification] { controls_.Notify(id, notification); });
}

void DialogWindow::ShowCloseEnabled(bool enabled) {
  if (hwnd_ == nullptr) return;
  EnableMenuItem(GetSystemMenu(hwnd_, FALSE), SC_CLOSE,
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void DialogWindow::Finish(int result) {
  if (hwnd_ == nullptr || closed_notified_) return;
  // The logic hears of it while its controls still exist.
  NotifyClosed();
  EndDialog(hwnd_, result);
}

void DialogWindow::NotifyClosed() {
  if (!opened_ || closed_notified_) return;
  closed_notified_ = true;
  logic_.OnClosed();
  controls_.SetEvents(nullptr);
}

}  // namespace pelgar::hosts::win32
