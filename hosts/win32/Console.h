#pragma once

namespace pelgar::hosts::win32 {

// pelgar.exe is a GUI program, so Windows gives it no console of its own. An unattended run
// prints its summary and countdown all the same: to where its starter redirected the output
// (a file or a pipe of a script), else to the console of the command prompt it was started
// from, else to a console window of its own, which closes when the run ends.
void ConnectConsole();

}  // namespace pelgar::hosts::win32
