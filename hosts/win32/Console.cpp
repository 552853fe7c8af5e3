#include "hosts/win32/Console.h"

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <iostream>

namespace pelgar::hosts::win32 {
namespace {

// True when the starter handed the program somewhere to write: a file, a pipe or a console.
bool HasOutput(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Points the C runtime's stream at the console device, leaving it alone when that fails.
void Reopen(const char* device, const char* mode, FILE* stream) {
  FILE* reopened = nullptr;
  if (freopen_s(&reopened, device, mode, stream) != 0) return;
  // The summary and the countdown must show as they are written, not when the run ends.
  setvbuf(stream, nullptr, _IONBF, 0);
}

}  // namespace

void ConnectConsole() {
  const bool has_out = HasOutput(STD_OUTPUT_HANDLE);
  const bool has_err = HasOutput(STD_ERROR_HANDLE);
  if (has_out && has_err) return;
  // A console that cannot be had leaves the output nowhere, as it would be for any GUI
  // program; the run still ends with its exit status.
  if (!AttachConsole(ATTACH_PARENT_PROCESS) && !AllocConsole()) return;
  if (!has_out) Reopen("CONOUT$", "w", stdout);
  if (!has_err) Reopen("CONOUT$", "w", stderr);
  if (GetFileType(GetStdHandle(STD_INPUT_HANDLE)) == FILE_TYPE_UNKNOWN) {
    Reopen("CONIN$", "r", stdin);
  }
  std::cout.clear();
  std::cerr.clear();
}

}  // namespace pelgar::hosts::win32
