#pragma once

// No Qt here: the entry point includes this without knowing the toolkit.

namespace pelgar::app {
class Application;
}

namespace pelgar::hosts::qt {

// Opens the desktop window of `application` with Qt Widgets and returns the exit status
// when it closes. Without a display it says so on standard error and returns
// app::kExitNoWindow instead of letting the toolkit abort.
int RunDesktop(int& argc, char** argv, app::Application& application);

}  // namespace pelgar::hosts::qt
