#include "hosts/qt/DialogUnits.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>

#include "hosts/qt/QtControls.h"

namespace pelgar::hosts::qt {

DialogUnits::DialogUnits(const QFont& font) {
  // The average width over both alphabets, rounded, like the platform's dialog base units.
  QFontMetrics metrics(font);
  int alphabet = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  base_x_ = (alphabet / 26 + 1) / 2;
  base_y_ = metrics.height();
}

QRect DialogUnits::Rect(const ui::DialogRect& rect) const {
  return {X(rect.x), Y(rect.y), X(rect.width), Y(rect.height)};
}

QFont DialogFont(const ui::DialogTemplate& dialog) {
  QFont font = QApplication::font();
  QString family = FromBytes(dialog.font_name);
  if (!family.isEmpty() && QFontDatabase::families().contains(family)) font.setFamily(family);
  if (dialog.font_size > 0) font.setPointSize(dialog.font_size);
  return font;
}

}  // namespace pelgar::hosts::qt
