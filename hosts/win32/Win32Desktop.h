#pragma once

// No platform header here: the entry point includes this without knowing the host.

namespace pelgar::app {
class Application;
}

namespace pelgar::hosts::win32 {

// Opens the desktop window of `application` with the platform's own dialogs and returns the
// exit status when it closes, or app::kExitNoWindow, said on standard error, when it could not
// open.
int RunDesktop(app::Application& application);

}  // namespace pelgar::hosts::win32
