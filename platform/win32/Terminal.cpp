#include "platform/Terminal.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace pelgar::platform {

bool StandardOutputIsTerminal() {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (out == nullptr || out == INVALID_HANDLE_VALUE || !GetConsoleMode(out, &mode)) return false;
  // Consoles before Windows 10 show the escape sequences as text: those get plain lines.
  return SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace pelgar::platform
