#pragma once

#include <QIcon>

namespace pelgar::hosts::qt {

// Icon resource 128: Pelgar's own icon, for the windows and the about box.
QIcon PelgarIcon();

}  // namespace pelgar::hosts::qt
