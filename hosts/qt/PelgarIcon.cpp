#include "hosts/qt/PelgarIcon.h"

namespace pelgar::hosts::qt {

QIcon PelgarIcon() {
  // Built in, so a window has its icon even where nothing is installed.
  static const QIcon icon(QStringLiteral(":/pelgar/pelgar.svg"));
  return icon;
}

}  // namespace pelgar::hosts::qt
