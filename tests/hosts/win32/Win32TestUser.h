#pragma once

#include <string>
#include <string_view>

#include "hosts/win32/DialogWindow.h"
#include "hosts/win32/Win32Window.h"
#include "support/ContractUser.h"

namespace pelgar::testing {

// A window's text: a dialog's title, a control's text.
inline std::string TextOf(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Plays the user on a real dialog with the messages the platform's input makes: a click as
// the button's own mouse handling (BM_CLICK), typing as characters at the end of an edit,
// keys through the dialog manager as the dialog's message loop hands them to it.
class Win32TestUser : public ContractUser {
 public:
  explicit Win32TestUser(hosts::win32::DialogWindow& window) : window_(window) {}

  HWND Window(int id) { return window_.controls().Window(id); }
  // The system gives a disabled window no mouse input; BM_CLICK would click it all the same.
  void Click(int id) override {
    if (IsWindowEnabled(Window(id))) SendMessageW(Window(id), BM_CLICK, 0, 0);
  }
  void Type(int id, std::string_view chars) override {
    HWND edit = Window(id);
    SetFocus(edit);
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit));
    SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    for (char c : chars) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
  }
  // One key on the closed list from a neighbouring entry: one change of selection, as
  // picking the entry from the dropped-down list makes.
  void Choose(int id, int index) override {
    HWND list = Window(id);
    SetFocus(list);
    const WPARAM from = index > 0 ? static_cast<WPARAM>(index - 1) : 1;
    SendMessageW(list, CB_SETCURSEL, from, 0);
    SendMessageW(list, WM_KEYDOWN, index > 0 ? VK_DOWN : VK_HOME, 0);
  }
  void PressEnter() override { Key(VK_RETURN); }
  void PressEscape() override { Key(VK_ESCAPE); }
  // What the close box sends.
  void CloseBox() override { SendMessageW(window_.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }

  void Key(WPARAM key) {
    HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(window_.hwnd(), focus)) focus = window_.hwnd();
    MSG message{};
    message.hwnd = focus;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    IsDialogMessageW(window_.hwnd(), &message);
  }

 private:
  hosts::win32::DialogWindow& window_;
};

}  // namespace pelgar::testing
