#pragma once

#include <string_view>

#include "ui/host/MessageBoxService.h"

namespace pelgar::hosts::win32 {

class Win32Host;

// The program's message boxes: the platform's own (MessageBoxA), over the window on top,
// with the box type handed on unchanged, since the logic's types and answers are the
// platform's values.
class Win32MessageBoxes : public ui::MessageBoxService {
 public:
  explicit Win32MessageBoxes(Win32Host& host) : host_(host) {}

  int ShowBox(std::string_view text, std::string_view caption, unsigned type) override;

 private:
  Win32Host& host_;
};

}  // namespace pelgar::hosts::win32
