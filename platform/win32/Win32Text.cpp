#include "platform/win32/Win32Text.h"

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX 1  // as libstdc++ defines it, so that either may come first
#include <windows.h>

#include <climits>

namespace pelgar::platform {
namespace {

std::wstring Widen(const std::string& text, UINT code_page, DWORD flags) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int wide_length = MultiByteToWideChar(code_page, flags, text.data(), length, nullptr, 0);
  if (wide_length <= 0) return {};
  std::wstring wide(static_cast<size_t>(wide_length), L'\0');
  if (MultiByteToWideChar(code_page, flags, text.data(), length, wide.data(), wide_length) !=
      wide_length) {
    return {};
  }
  return wide;
}

}  // namespace

std::wstring WidePath(const std::string& path) {
  std::wstring wide = Widen(path, CP_UTF8, MB_ERR_INVALID_CHARS);
  if (wide.empty()) wide = Widen(path, CP_ACP, 0);
  // A NUL inside would cut the name short at the system: the path names nothing.
  if (wide.find(L'\0') != std::wstring::npos) return {};
  return wide;
}

std::string SystemMessage(unsigned long error) {
  char* buffer = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length > 0 && buffer != nullptr ? std::string(buffer, length) : std::string();
  if (buffer != nullptr) LocalFree(buffer);
  // One line for standard error: the text's own line breaks become blanks.
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '.')) text.pop_back();
  if (text.empty()) text = "system error " + std::to_string(error);
  return text;
}

bool IsDevicePath(const std::wstring& wide) {
  if (wide.empty()) return false;
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return false;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return false;
  full.resize(length);
  if (full.rfind(L"\\\\.\\", 0) != 0) return false;
  // \\.\C:\folder\file is a file on drive C:, named through the device namespace.
  return !(full.size() >= 7 && full[5] == L':' && full[6] == L'\\');
}

}  // namespace pelgar::platform
