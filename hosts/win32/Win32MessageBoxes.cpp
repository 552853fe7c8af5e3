#include "hosts/win32/Win32MessageBoxes.h"

#include <string>

#include "hosts/win32/DialogWindow.h"
#include "hosts/win32/Win32Host.h"
#include "ui/host/MessageOutput.h"

namespace pelgar::hosts::win32 {

int Win32MessageBoxes::ShowBox(std::string_view text, std::string_view caption, unsigned type) {
  const std::string message(text);
  const std::string title(ui::BoxCaption(caption));
  HWND owner = host_.top() != nullptr ? host_.top()->hwnd() : nullptr;
  const int pressed = MessageBoxA(owner, message.c_str(), title.c_str(), type);
  if (pressed != 0) return pressed;
  // No box could be shown: nobody agreed to anything.
  return (type & ui::box::kButtonMask) == ui::box::kYesNo ? ui::answer::kNo : ui::answer::kOk;
}

}  // namespace pelgar::hosts::win32
