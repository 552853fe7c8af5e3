#pragma once

#include <optional>
#include <string>

#include "hosts/win32/Win32Window.h"
#include "ui/host/FileDialogs.h"

namespace pelgar::hosts::win32 {

class Win32Host;

// The platform's common file dialogs (GetOpenFileNameA, GetSaveFileNameA) over the window on
// top. The path buffer is the request's, so a longer path cannot be chosen there either.
class Win32FileDialogs : public ui::FileDialogs {
 public:
  explicit Win32FileDialogs(Win32Host& host) : host_(host) {}

  std::optional<std::string> Choose(const ui::FileDialogRequest& request) override;

 private:
  Win32Host& host_;
};

// What the dialog is handed for a request; it points into itself, so it stays in place.
struct FileDialogSetup {
  explicit FileDialogSetup(const ui::FileDialogRequest& request, HWND owner = nullptr);
  FileDialogSetup(const FileDialogSetup&) = delete;
  FileDialogSetup& operator=(const FileDialogSetup&) = delete;

  std::string filter;  // "name\0pattern\0...\0"
  std::string title;
  std::string path;  // the path buffer
  OPENFILENAMEA dialog{};
};

}  // namespace pelgar::hosts::win32
