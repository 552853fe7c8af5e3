#pragma once

#include <cstddef>
#include <string>

namespace pelgar::firmware {

// What the open-file dialog is asked for.
struct OpenFileRequest {
  std::string title;
  std::string filter_name;
  std::string pattern;
  // The file-name buffer, terminator included: a longer path cannot be returned.
  size_t max_path = 0;
  bool path_must_exist = false;
  bool file_must_exist = false;
};

// The platform's open-file dialog. The program supplies it; tests script it.
class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // True with the chosen path; false when the user cancelled or the dialog failed.
  virtual bool ChooseOpenFile(const OpenFileRequest& request, std::string& path) = 0;
};

}  // namespace pelgar::firmware
