#include "hosts/win32/Win32FileDialogs.h"

#include "hosts/win32/DialogWindow.h"
#include "hosts/win32/Win32Host.h"

namespace pelgar::hosts::win32 {

FileDialogSetup::FileDialogSetup(const ui::FileDialogRequest& request, HWND owner)
    : title(request.title), path(request.max_path_chars + 1, '\0') {
  for (const auto& [name, pattern] : request.filters) {
    filter.append(name).push_back('\0');
    filter.append(pattern).push_back('\0');
  }
  filter.push_back('\0');
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = request.filters.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;  // the first filter starts selected
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  // The program's own folder stays its current one, whatever folder the user went to.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (request.must_exist) dialog.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (request.confirm_overwrite) dialog.Flags |= OFN_OVERWRITEPROMPT;
}

std::optional<std::string> Win32FileDialogs::Choose(const ui::FileDialogRequest& request) {
  FileDialogSetup setup(request, host_.top() != nullptr ? host_.top()->hwnd() : nullptr);
  const bool chosen = request.kind == ui::FileDialogRequest::Kind::kSave
                          ? GetSaveFileNameA(&setup.dialog) != 0
                          : GetOpenFileNameA(&setup.dialog) != 0;
  // Cancelled, or a path longer than the buffer (the dialog says so itself).
  if (!chosen) return std::nullopt;
  return std::string(setup.path.c_str());
}

}  // namespace pelgar::hosts::win32
