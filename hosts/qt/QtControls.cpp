#include "hosts/qt/QtControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QStringList>
#include <QToolTip>

#include "hosts/qt/DialogWindow.h"
#include "hosts/qt/QtHost.h"

namespace pelgar::hosts::qt {
namespace {

using ui::ControlKind;
using ui::Notification;

}  // namespace

QString FromBytes(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text) { return text.toLatin1().toStdString(); }

std::string ToPath(const QString& path) { return path.toLocal8Bit().toStdString(); }

void QtControls::Add(int id, ControlKind kind, QWidget* widget, std::string tooltip) {
  entries_[id] = Entry{kind, widget, 0, std::move(tooltip)};
}

const QtControls::Entry* QtControls::Find(int id) const {
  auto it = entries_.find(id);
  if (it == entries_.end() || it->second.widget.isNull()) return nullptr;
  return &it->second;
}

QWidget* QtControls::Widget(int id) const {
  const Entry* entry = Find(id);
  return entry == nullptr ? nullptr : entry->widget.data();
}

void QtControls::Notify(int id, Notification notification) {
  if (events_ != nullptr) events_->OnControl(id, notification);
}

void QtControls::UserNotified(int id, Notification notification) {
  host_.Deliver(window_, [this, id, notification] { Notify(id, notification); });
}

bool QtControls::IsChecked(int id) const {
  auto* button = qobject_cast<QAbstractButton*>(Widget(id));
  return button != nullptr && button->isCheckable() && button->isChecked();
}

void QtControls::SetCheck(int id, bool checked) {
  auto* button = qobject_cast<QAbstractButton*>(Widget(id));
  // setChecked emits toggled, never clicked, which is all the logic listens to.
  if (button != nullptr && button->isCheckable()) button->setChecked(checked);
}

std::string QtControls::GetText(int id, size_t max_chars) const {
  const Entry* entry = Find(id);
  if (entry == nullptr) return {};
  QString text;
  if (auto* edit = qobject_cast<QLineEdit*>(entry->widget)) {
    text = edit->text();
  } else if (auto* list = qobject_cast<QComboBox*>(entry->widget)) {
    if (list->currentIndex() >= 0) text = list->currentText();
  } else if (auto* label = qobject_cast<QLabel*>(entry->widget)) {
    text = label->text();
  } else if (auto* button = qobject_cast<QAbstractButton*>(entry->widget)) {
    text = button->text();
  }
  std::string bytes = ToBytes(text);
  if (bytes.size() > max_chars) bytes.resize(max_chars);
  return bytes;
}

void QtControls::SetText(int id, std::string_view text) {
  const Entry* entry = Find(id);
  if (entry == nullptr) return;
  QString value = FromBytes(text);
  if (auto* edit = qobject_cast<QLineEdit*>(entry->widget)) {
    {
      // QLineEdit says nothing when the text stays the same; the logic expects to hear.
      QSignalBlocker quiet(edit);
      // Raised first: setText would cut the text at the old limit.
      edit->setMaxLength(static_cast<int>(ui::kDefaultEditLimit));
      edit->setText(value);
    }
    FitTypingLimit(id);
    Notify(id, Notification::kChanged);
  } else if (auto* list = qobject_cast<QComboBox*>(entry->widget)) {
    // A drop-down list shows only its entries: writing a text selects the matching one.
    int index = list->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) list->setCurrentIndex(index);
  } else if (auto* label = qobject_cast<QLabel*>(entry->widget)) {
    label->setText(value);
  } else if (auto* button = qobject_cast<QAbstractButton*>(entry->widget)) {
    button->setText(value);
  }
}

void QtControls::Enable(int id, bool enabled) {
  if (QWidget* widget = Widget(id)) widget->setEnabled(enabled);
}

void QtControls::SetLimit(int id, size_t max_chars) {
  auto it = entries_.find(id);
  if (it == entries_.end()) return;
  it->second.limit = max_chars;
  FitTypingLimit(id);
}

void QtControls::FitTypingLimit(int id) {
  auto it = entries_.find(id);
  auto* edit = it == entries_.end() ? nullptr : qobject_cast<QLineEdit*>(it->second.widget);
  if (edit == nullptr) return;
  size_t limit = ui::EditLimit(it->second.limit);
  limit = std::max(limit, static_cast<size_t>(edit->text().size()));
  edit->setMaxLength(static_cast<int>(std::min(limit, ui::kDefaultEditLimit)));
}

void QtControls::Select(int id, int index) {
  auto* list = qobject_cast<QComboBox*>(Widget(id));
  if (list == nullptr) return;
  // An index outside the list clears the selection, as the platform's lists do.
  bool inside = index >= 0 && index < list->count();
  QSignalBlocker quiet(list);
  list->setCurrentIndex(inside ? index : -1);
}

int QtControls::Selected(int id) const {
  auto* list = qobject_cast<QComboBox*>(Widget(id));
  return list == nullptr ? -1 : list->currentIndex();
}

void QtControls::SetRange(int id, int low, int high) {
  if (auto* bar = qobject_cast<QProgressBar*>(Widget(id))) bar->setRange(low, std::max(low, high));
}

void QtControls::SetPosition(int id, int position) {
  auto* bar = qobject_cast<QProgressBar*>(Widget(id));
  if (bar == nullptr) return;
  bar->setValue(std::clamp(position, bar->minimum(), bar->maximum()));
}

void QtControls::Focus(int id) {
  QWidget* widget = Widget(id);
  if (widget == nullptr) return;
  widget->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
}

void QtControls::ActivateToolTips(int max_width_px) {
  for (auto& [id, entry] : entries_) {
    if (entry.widget.isNull() || entry.tooltip.empty()) continue;
    entry.widget->setToolTip(WrapToolTip(FromBytes(entry.tooltip), max_width_px));
  }
}

void QtControls::Close(int result) { window_.RequestClose(result); }

QString WrapToolTip(const QString& tip, int max_width_px) {
  QFontMetrics metrics(QToolTip::font());
  QStringList lines;
  for (const QString& paragraph : tip.split(QLatin1Char('\n'))) {
    QString line;
    for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
      if (!line.isEmpty() && metrics.horizontalAdvance(longer) > max_width_px) {
        lines << line;
        line = word;
      } else {
        line = longer;
      }
    }
    lines << line;
  }
  return lines.join(QLatin1Char('\n'));
}

}  // namespace pelgar::hosts::qt
