#pragma once

// No platform header here: the entry point includes this without knowing the host.

namespace pelgar::app {
class Application;
}

namespace pelgar::hosts::win32 {

// Opens the desktop window of `application` with the platform's own dialogs and returns the
// exit status when it closes.
int RunDesktop(app::Application& application);

}  // namespace pelgar::hosts::win32
