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

  // An empty caption leaves the platform's own ("Error").
  int ShowBox(std::string_view text, std::string_view caption, unsigned type) override;
  // Captioned with the program's name.
  int ShowApplicationBox(std::string_view text, unsigned type) override;

 private:
  Win32Host& host_;
};

// The program's name: the caption of its own boxes.
inline constexpr std::string_view kProgramName = "Pelgar";

}  // namespace pelgar::hosts::win32
