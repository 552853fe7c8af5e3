#include "hosts/qt/DialogWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "hosts/qt/DialogUnits.h"
#include "hosts/qt/GroupBoxStyle.h"
#include "hosts/qt/PelgarIcon.h"
#include "hosts/qt/QtHost.h"

namespace pelgar::hosts::qt {
namespace {

using ui::ControlKind;
using ui::Notification;

Qt::FocusPolicy TabPolicy(const ui::ControlTemplate& control) {
  if (!ui::TakesFocus(control.kind)) return Qt::NoFocus;
  return ui::TakesTab(control) ? Qt::StrongFocus : Qt::ClickFocus;
}

// The widest gap, in dialog units, between a row's label and the list it names.
constexpr int kRowGapUnits = 4;

}  // namespace

DialogWindow::DialogWindow(QtHost& host, const ui::DialogTemplate& dialog, ui::DialogLogic& logic,
                           QWidget* parent)
    : QDialog(parent), host_(host), dialog_(dialog), logic_(logic) {
  controls_ = std::make_unique<QtControls>(host, *this);
  // A fixed frame with a title, a close box and no minimise or maximise box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setWindowTitle(FromBytes(dialog.title));
  if (dialog.icon_id != 0) setWindowIcon(PelgarIcon());
  setFont(DialogFont(dialog));
  setContextMenuPolicy(Qt::DefaultContextMenu);
  Build();
}

DialogWindow::~DialogWindow() = default;

void DialogWindow::Build() {
  DialogUnits units(font());
  setFixedSize(units.X(dialog_.width), units.Y(dialog_.height));
  std::vector<QWidget*> groups;
  std::vector<QWidget*> built;
  QWidget* previous = nullptr;
  for (const ui::ControlTemplate& control : dialog_.controls) {
    QString text = FromBytes(control.text);
    QRect rect = units.Rect(control.rect);
    QWidget* widget = nullptr;
    int id = control.id;
    switch (control.kind) {
      case ControlKind::kCheckBox: {
        auto* box = new QCheckBox(text, this);
        connect(box, &QCheckBox::clicked, this,
                [this, id] { controls_->UserNotified(id, Notification::kClicked); });
        widget = box;
        break;
      }
      case ControlKind::kPushButton: {
        auto* button = new QPushButton(text, this);
        button->setAutoDefault(false);
        button->setDefault((control.style & ui::style::kDefaultButton) != 0);
        connect(button, &QPushButton::clicked, this,
                [this, id] { controls_->UserNotified(id, Notification::kClicked); });
        widget = button;
        break;
      }
      case ControlKind::kEdit: {
        auto* edit = new QLineEdit(text, this);
        edit->setReadOnly((control.style & ui::style::kReadOnly) != 0);
        // textEdited is the user's typing only; the program's writes notify in SetText.
        connect(edit, &QLineEdit::textEdited, this, [this, id] {
          controls_->FitTypingLimit(id);
          controls_->UserNotified(id, Notification::kChanged);
        });
        widget = edit;
        break;
      }
      case ControlKind::kDropList: {
        auto* list = new QComboBox(this);
        for (const std::string& item : ui::ListEntries(control)) list->addItem(FromBytes(item));
        list->setCurrentIndex(-1);
        connect(list, &QComboBox::activated, this,
                [this, id] { controls_->UserNotified(id, Notification::kSelectionChanged); });
        // The template's height is the dropped-down list's; the closed box is one line.
        rect.setHeight(list->sizeHint().height());
        widget = list;
        break;
      }
      case ControlKind::kGroupBox: {
        widget = new QGroupBox(text, this);
        widget->setStyle(GroupBoxStyle::Shared());
        groups.push_back(widget);
        break;
      }
      case ControlKind::kStatic: {
        auto* label = new QLabel(text, this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        if (control.style & ui::style::kSunken) {
          label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
          label->setMargin(2);
        }
        widget = label;
        break;
      }
      case ControlKind::kIcon: {
        auto* label = new QLabel(this);
        label->setPixmap(PelgarIcon().pixmap(32, 32));
        rect.setSize(QSize(32, 32));
        widget = label;
        break;
      }
      case ControlKind::kProgressBar: {
        auto* bar = new QProgressBar(this);
        bar->setTextVisible(false);
        bar->setRange(0, 100);
        bar->setValue(0);
        widget = bar;
        break;
      }
    }
    widget->setGeometry(rect);
    widget->setFocusPolicy(TabPolicy(control));
    widget->setEnabled((control.style & ui::style::kDisabled) == 0);
    widget->setHidden((control.style & ui::style::kHidden) != 0);
    widget->setObjectName(QStringLiteral("control_%1").arg(id));
    if (widget->focusPolicy() != Qt::NoFocus) {
      // The template's order is the tab order.
      if (previous != nullptr) setTabOrder(previous, widget);
      previous = widget;
    }
    if (id != ui::kNoControlId) controls_->Add(id, control.kind, widget, control.tooltip);
    built.push_back(widget);
  }
  // Group boxes frame the controls drawn over them; they must never cover them.
  for (QWidget* group : groups) group->lower();
  CentreRowLabels(built);
}

void DialogWindow::CentreRowLabels(const std::vector<QWidget*>& built) {
  // A static text that starts a row with a drop list right after it is that list's label.
  // The template draws the text at the top of a box as tall as the platform's closed list;
  // a closed list is taller here, so the text is centred on the list's height instead.
  const std::vector<ui::ControlTemplate>& controls = dialog_.controls;
  for (size_t i = 0; i < controls.size(); ++i) {
    const ui::DialogRect& label = controls[i].rect;
    auto* text = qobject_cast<QLabel*>(built[i]);
    if (controls[i].kind != ControlKind::kStatic || text == nullptr) continue;
    for (size_t j = 0; j < controls.size(); ++j) {
      const ui::DialogRect& list = controls[j].rect;
      if (controls[j].kind != ControlKind::kDropList || list.y != label.y ||
          list.x < label.x + label.width || list.x > label.x + label.width + kRowGapUnits) {
        continue;
      }
      const QRect row = built[j]->geometry();
      text->setGeometry(text->x(), row.y(), text->width(), row.height());
      text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      break;
    }
  }
}

void DialogWindow::Deliver(int id, Notification notification) {
  controls_->UserNotified(id, notification);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  if (!host_.Accepts(*this)) return;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Deliver(ui::kIdOk, Notification::kClicked);
      return;
    case Qt::Key_Escape:
      if (host_.MayClose(*this)) Deliver(ui::kIdCancel, Notification::kClicked);
      return;
    default:
      break;
  }
  QDialog::keyPressEvent(event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  // Only the logic ends a dialog; the close box and Alt+F4 ask it, as Escape does.
  event->ignore();
  if (!host_.MayClose(*this)) return;
  Deliver(ui::kIdCancel, Notification::kClicked);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
  // Only the window's own background: a control's context menu stays the control's.
  if (childAt(event->pos()) != nullptr &&
      qobject_cast<QGroupBox*>(childAt(event->pos())) == nullptr &&
      qobject_cast<QLabel*>(childAt(event->pos())) == nullptr) {
    return;
  }
  ShowSystemMenu(event->globalPos());
}

bool DialogWindow::OpenMenuOnKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
  const bool system = key.key() == Qt::Key_Space && modifiers == Qt::AltModifier;
  const bool context = (key.key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
                       (key.key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
  if (!system && !context) return false;
  // The system menu drops from the window's corner; a context menu from the focused control.
  QWidget* focus = focusWidget();
  ShowSystemMenu(context && focus != nullptr ? focus->mapToGlobal(QPoint(0, focus->height()))
                                             : mapToGlobal(QPoint(0, 0)));
  return true;
}

void DialogWindow::ShowSystemMenu(const QPoint& global_pos) {
  if (!host_.MayClose(*this)) return;
  QMenu menu(this);
  QAction* close = menu.addAction(QStringLiteral("&Close\tAlt+F4"));
  if (!dialog_.system_menu.empty()) menu.addSeparator();
  for (const ui::MenuItem& item : dialog_.system_menu) {
    menu.addAction(FromBytes(item.text))->setData(item.command);
  }
  // The command runs once the menu has gone, so a window it opens is not the menu's child.
  QAction* chosen = menu.exec(global_pos);
  if (chosen == nullptr) return;
  if (chosen == close) {
    Deliver(ui::kIdCancel, Notification::kClicked);  // as the close box
  } else {
    Deliver(chosen->data().toInt(), Notification::kMenuCommand);
  }
}

}  // namespace pelgar::hosts::qt
