#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pelgar::ui {

// One common file dialog, as the window logic asks for it.
struct FileDialogRequest {
  enum class Kind { kOpen, kSave };
  Kind kind = Kind::kOpen;
  std::string title;
  // Filter entries (name, pattern); the first one starts selected.
  std::vector<std::pair<std::string, std::string>> filters;
  // The path buffer: 260 characters with the terminator. A longer path cannot be chosen.
  size_t max_path_chars = 259;
  // Open: the file and its folder must exist. Save: ask before overwriting a file.
  bool must_exist = false;
  bool confirm_overwrite = false;
};

// The platform's file dialogs: Qt's in the desktop program, a scripted chooser in tests.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> Choose(const FileDialogRequest& request) = 0;

  // The chosen path, or nothing when the user cancelled or the path is empty or longer
  // than the request's path buffer takes: such a path cannot be chosen, as on the platform.
  std::optional<std::string> ChoosePath(const FileDialogRequest& request) {
    std::optional<std::string> path = Choose(request);
    if (!path || path->empty() || path->size() > request.max_path_chars) return std::nullopt;
    return path;
  }
};

}  // namespace pelgar::ui
