#pragma once

#include <QString>
#include <string_view>

#include "ui/host/MessageBoxService.h"

namespace pelgar::hosts::qt {

class QtHost;

// The program's message boxes with Qt: icon and buttons from the box type, the caller's
// caption (the program's name when it gives none), over the window on top.
class QtMessageBoxes : public ui::MessageBoxService {
 public:
  explicit QtMessageBoxes(QtHost& host) : host_(host) {}

  int ShowBox(std::string_view text, std::string_view caption, unsigned type) override;
  int ShowApplicationBox(std::string_view text, unsigned type) override;

 private:
  QtHost& host_;
};

// The program's name: the caption of its own boxes.
inline constexpr std::string_view kProgramName = "Pelgar";

}  // namespace pelgar::hosts::qt
