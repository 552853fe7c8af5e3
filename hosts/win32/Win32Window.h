#pragma once

// The platform's header as every file of this host includes it: without the parts the host
// never uses, and without the min and max macros, which would break std::min and std::max.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// The common controls (the progress bar, the tooltips) and the file dialogs.
#include <commctrl.h>
#include <commdlg.h>
