#pragma once

#include <QFont>
#include <QRect>

#include "ui/host/DialogTemplate.h"

namespace pelgar::hosts::qt {

// Dialog units to pixels, from the dialog font's average character width and height, so a
// template keeps its proportions with whatever font the desktop gives us.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  DialogUnits(int base_x, int base_y) : base_x_(base_x), base_y_(base_y) {}

  int X(int units) const { return Scale(units, base_x_, 4); }
  int Y(int units) const { return Scale(units, base_y_, 8); }
  QRect Rect(const ui::DialogRect& rect) const;

  int base_x() const { return base_x_; }
  int base_y() const { return base_y_; }

 private:
  // Rounded to the nearest pixel, as the platform's own conversion does.
  static int Scale(int units, int base, int divisor) {
    return (units * base + divisor / 2) / divisor;
  }

  int base_x_;
  int base_y_;
};

// The font a template asks for when the desktop has it; otherwise the desktop's own
// font at the template's size, which is what a technician's other windows use.
QFont DialogFont(const ui::DialogTemplate& dialog);

}  // namespace pelgar::hosts::qt
