#pragma once

#include <QProxyStyle>

namespace pelgar::hosts::qt {

// Group boxes as the dialog templates assume them: the title sits on the frame's top line,
// which runs through the middle of the text, a little way in from the corner. Qt's own
// styles put the title above the frame instead, which pushes the frame half a line down
// across the controls a template places just under the title.
class GroupBoxStyle : public QProxyStyle {
 public:
  GroupBoxStyle();

  // The one shared by every dialog; it lives as long as the application.
  static QStyle* Shared();

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                       SubControl sub_control, const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override;
};

}  // namespace pelgar::hosts::qt
