#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyleOptionGroupBox>
#include <QToolTip>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "hosts/qt/DialogUnits.h"
#include "hosts/qt/DialogWindow.h"
#include "hosts/qt/PelgarIcon.h"
#include "hosts/qt/QtControls.h"
#include "hosts/qt/QtHost.h"
#include "ui/enhanced/EnhancedConfigTemplate.h"
#include "ui/main/AboutBox.h"
#include "ui/main/MainWindowIds.h"
#include "ui/main/MainWindowTemplate.h"
#include "ui/update/UpdateWindowTemplate.h"

namespace pelgar::hosts::qt {
namespace {

using ui::ControlKind;

struct Idle : ui::DialogLogic {
  void OnOpening(ui::Controls&) override {}
  void OnControl(int, ui::Notification) override {}
};

QString TextOf(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  return {};
}

// One of the program's dialogs, built.
class DialogWindowTest : public ::testing::TestWithParam<const ui::DialogTemplate*> {
 protected:
  const ui::DialogTemplate& dialog = *GetParam();
  QtHost host;
  Idle logic;
  DialogWindow window{host, dialog, logic, nullptr};
};

// Every control of the template is built with its kind, text, place in pixels, state and
// tip, as the window logic and the dialog's look expect; Tab walks them in the template's
// order, skipping those without a tab stop.
TEST_P(DialogWindowTest, BuildsEveryControlOfTheTemplate) {
  DialogUnits units(window.font());
  EXPECT_EQ(window.size(), QSize(units.X(dialog.width), units.Y(dialog.height)));
  EXPECT_EQ(window.windowTitle().toStdString(), dialog.title);
  window.controls().ActivateToolTips(320);

  std::vector<int> tab_order;
  for (const ui::ControlTemplate& control : dialog.controls) {
    SCOPED_TRACE(control.id);
    SCOPED_TRACE(control.text);
    if (ui::TakesTab(control)) tab_order.push_back(control.id);
    if (control.id == ui::kNoControlId) continue;  // several share the id: counted below
    auto* widget = window.findChild<QWidget*>(QStringLiteral("control_%1").arg(control.id));
    EXPECT_NE(widget, nullptr);
    if (widget == nullptr) continue;
    if (control.kind != ControlKind::kIcon && control.kind != ControlKind::kDropList &&
        control.kind != ControlKind::kProgressBar) {
      EXPECT_EQ(TextOf(widget).toStdString(), control.text);
    }
    QRect expected = units.Rect(control.rect);
    if (control.kind == ControlKind::kStatic && widget->geometry() != expected) {
      // The label of a row: as high as the list it names, right after it, and centred on it.
      const QWidget* list = window.childAt(expected.right() + 2, widget->geometry().center().y());
      ASSERT_TRUE(list != nullptr && list->inherits("QComboBox"));
      EXPECT_EQ(widget->geometry().top(), list->geometry().top());
      EXPECT_EQ(widget->height(), list->height());
      EXPECT_TRUE(qobject_cast<QLabel*>(widget)->alignment() & Qt::AlignVCenter);
      expected = QRect(expected.x(), list->y(), expected.width(), list->height());
    }
    EXPECT_EQ(widget->pos(), expected.topLeft());
    if (control.kind == ControlKind::kDropList) {
      EXPECT_EQ(widget->width(), expected.width());
    } else if (control.kind != ControlKind::kIcon) {
      EXPECT_EQ(widget->size(), expected.size());
    }
    EXPECT_EQ(widget->isHidden(), (control.style & ui::style::kHidden) != 0);
    EXPECT_EQ(widget->isEnabled(), (control.style & ui::style::kDisabled) == 0);
    EXPECT_EQ(widget->toolTip().isEmpty(), control.tooltip.empty());
  }
  EXPECT_EQ(window.findChildren<QWidget*>(QStringLiteral("control_-1"), Qt::FindDirectChildrenOnly)
                .size(),
            std::ranges::count(dialog.controls, ui::kNoControlId, &ui::ControlTemplate::id));
  std::vector<int> chain;
  QWidget* first = window.controls().Widget(tab_order.empty() ? 0 : tab_order.front());
  for (QWidget* w = first; w != nullptr && chain.size() < tab_order.size();
       w = w->nextInFocusChain()) {
    if (w->focusPolicy() != Qt::StrongFocus || w->parentWidget() != &window) continue;
    chain.push_back(w->objectName().mid(8).toInt());
  }
  EXPECT_EQ(chain, tab_order);
}

// A group's title sits on its frame's top line, clear of the frame around the group; every
// control over a group lies inside its frame and clear of its title.
TEST_P(DialogWindowTest, GroupTitlesSitOnTheirFramesWhichHoldTheirControls) {
  struct Group {
    QRect frame, title;
  };
  std::map<const QWidget*, Group> groups;
  for (QGroupBox* box : window.findChildren<QGroupBox*>()) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    auto rect = [&](QStyle::SubControl part) {
      return box->style()
          ->subControlRect(QStyle::CC_GroupBox, &option, part, box)
          .translated(box->pos());
    };
    const Group& group =
        groups[box] = {rect(QStyle::SC_GroupBoxFrame), rect(QStyle::SC_GroupBoxLabel)};
    SCOPED_TRACE(box->title().toStdString());
    EXPECT_NEAR(group.title.center().y(), group.frame.top(), 1);
  }
  for (const auto& [box, group] : groups) {
    const QRect inside = group.frame.adjusted(1, 1, -1, -1);
    for (QWidget* widget : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (widget == box || !box->geometry().contains(widget->geometry())) continue;
      SCOPED_TRACE(widget->objectName().toStdString() + " " + TextOf(widget).toStdString());
      // A group inside another holds its title inside the outer frame.
      auto inner = groups.find(widget);
      const QRect held = inner != groups.end() ? inner->second.title : widget->geometry();
      EXPECT_TRUE(inside.contains(held));
      EXPECT_FALSE(group.title.intersects(held));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Templates, DialogWindowTest,
                         ::testing::Values(&ui::MainWindowTemplate(), &ui::AboutBoxTemplate(),
                                           &ui::EnhancedConfigTemplate(),
                                           &ui::UpdateWindowTemplate()));

// The icon is drawn from SVG, which needs Qt's SVG plugin at run time.
TEST(DialogWindow, IconResourceIsDrawn) { EXPECT_FALSE(PelgarIcon().pixmap(32, 32).isNull()); }

TEST(DialogUnits, ScaleWithTheFontsAverageCharacter) {
  DialogUnits units(6, 13);
  EXPECT_EQ(units.Rect({151, 84, 117, 10}), QRect(227, 137, 176, 16));
}

TEST(ToolTips, WrapAtTheWidthAndKeepTheirLineBreaks) {
  QString tip = WrapToolTip(QStringLiteral("\nfirst line\n") + QString("word ").repeated(40), 120);
  QStringList lines = tip.split('\n');
  ASSERT_GT(lines.size(), 4);
  EXPECT_EQ(lines[0], QString());
  EXPECT_EQ(lines[1], QStringLiteral("first line"));
  QFontMetrics metrics(QToolTip::font());
  for (const QString& line : lines) EXPECT_LE(metrics.horizontalAdvance(line), 120);
  // No word lost or split.
  EXPECT_EQ(tip.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts).size(), 42);
}

}  // namespace
}  // namespace pelgar::hosts::qt
