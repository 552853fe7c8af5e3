#pragma once

#include <string>

namespace pelgar::platform {

// Texts between the program and the system's wide (UTF-16) calls. Only platform/win32/
// includes this; it names no Windows type, so the callers choose their own headers.

// A path as the program has it, in UTF-8 or, when it is not valid UTF-8, in the system's
// ANSI code page (a name typed in an old console or read from an old file). Empty when it
// is neither.
std::wstring WidePath(const std::string& path);

// The system's one-line text for an error code, in the style of strerror(): no final full
// stop, no line break.
std::string SystemMessage(unsigned long error);

// True when the system takes `wide` for a device rather than a file: \\.\ names and the
// reserved names (NUL, CON, COM1, ...) that stand for a device in any folder.
bool IsDevicePath(const std::wstring& wide);

}  // namespace pelgar::platform
