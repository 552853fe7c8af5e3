#pragma once

// No platform header here: the entry point includes this without knowing the host.

namespace pelgar::app {
class Application;
}

namespace pelgar::hosts::win32 {

// Exit status when the window cannot be shown at all, as the Linux program's without a display.
inline constexpr int kExitNoDesktop = 2;

// Opens the desktop window of `application` with the platform's own dialogs and returns the
// exit status when it closes, or kExitNoDesktop, said on standard error, when it could not
// open.
int RunDesktop(app::Application& application);

}  // namespace pelgar::hosts::win32
