#pragma once

#include <QString>
#include <string_view>

#include "ui/host/MessageBoxService.h"

namespace pelgar::hosts::qt {

class QtHost;

// The program's message boxes with Qt: icon and buttons from the box type, the caption by
// ui::BoxCaption, over the window on top.
class QtMessageBoxes : public ui::MessageBoxService {
 public:
  explicit QtMessageBoxes(QtHost& host) : host_(host) {}

  int ShowBox(std::string_view text, std::string_view caption, unsigned type) override;

 private:
  QtHost& host_;
};

}  // namespace pelgar::hosts::qt
