#include "hosts/qt/GroupBoxStyle.h"

#include <qdrawutil.h>

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace pelgar::hosts::qt {

GroupBoxStyle::GroupBoxStyle() : QProxyStyle(QApplication::style()->name()) {}

QStyle* GroupBoxStyle::Shared() {
  static QPointer<QStyle> shared;
  if (shared == nullptr) {
    shared = new GroupBoxStyle();
    shared->setParent(qApp);
  }
  return shared;
}

QRect GroupBoxStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                    SubControl sub_control, const QWidget* widget) const {
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != CC_GroupBox || box == nullptr) {
    return QProxyStyle::subControlRect(control, option, sub_control, widget);
  }
  const QFontMetrics& metrics = box->fontMetrics;
  const QRect& all = box->rect;
  // The frame's top line at half the title's height; the line gives way to the title.
  const QRect frame = all.adjusted(0, metrics.height() / 2, 0, 0);
  const int indent = metrics.averageCharWidth();
  const int gap = std::max(2, indent / 3);
  switch (sub_control) {
    case SC_GroupBoxFrame:
      return frame;
    case SC_GroupBoxLabel: {
      if (box->text.isEmpty()) return {};
      const int width = metrics.horizontalAdvance(box->text) + 2 * gap;
      return {all.left() + indent, all.top(), std::min(width, all.width() - 2 * indent),
              metrics.height()};
    }
    case SC_GroupBoxContents:
      return frame.adjusted(gap, metrics.height() - metrics.height() / 2, -gap, -gap);
    default:
      return {};
  }
}

void GroupBoxStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                       QPainter* painter, const QWidget* widget) const {
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != CC_GroupBox || box == nullptr) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  const QRect label = subControlRect(control, option, SC_GroupBoxLabel, widget);
  painter->save();
  painter->setClipRegion(QRegion(box->rect).subtracted(label));
  // An etched line, as the platform the templates come from draws a group.
  qDrawShadeRect(painter, subControlRect(control, option, SC_GroupBoxFrame, widget), box->palette,
                 true, 1, 0);
  painter->restore();
  drawItemText(painter, label, Qt::AlignCenter | Qt::TextShowMnemonic, box->palette,
               (box->state & State_Enabled) != 0, box->text, QPalette::WindowText);
}

}  // namespace pelgar::hosts::qt
