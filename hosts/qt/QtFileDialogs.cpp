#include "hosts/qt/QtFileDialogs.h"

#include <QFileDialog>

#include "hosts/qt/DialogWindow.h"
#include "hosts/qt/QtHost.h"

namespace pelgar::hosts::qt {

QStringList NameFilters(const ui::FileDialogRequest& request) {
  QStringList filters;
  for (const auto& [name, pattern] : request.filters) {
    QStringList patterns;
    for (const QString& one : QString::fromStdString(pattern).split(QLatin1Char(';'))) {
      QString trimmed = one.trimmed();
      if (trimmed == QLatin1String("*.*")) trimmed = QStringLiteral("*");
      patterns << trimmed;
      if (trimmed.toLower() != trimmed) patterns << trimmed.toLower();
    }
    patterns.removeDuplicates();
    // A name that shows its pattern already gets the patterns Qt filters by instead.
    QString shown = QString::fromStdString(name);
    if (shown.endsWith(QLatin1Char(')')) && shown.contains(QLatin1Char('('))) {
      shown = shown.left(shown.lastIndexOf(QLatin1Char('('))).trimmed();
    }
    filters << QStringLiteral("%1 (%2)").arg(shown, patterns.join(' '));
  }
  return filters;
}

std::optional<std::string> QtFileDialogs::Choose(const ui::FileDialogRequest& request) {
  QFileDialog dialog(host_.top(), QString::fromStdString(request.title));
  // Qt's own dialog: the same on every desktop, and scriptable in tests.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilters(NameFilters(request));
  if (request.kind == ui::FileDialogRequest::Kind::kSave) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirm_overwrite);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toLocal8Bit().toStdString();
}

}  // namespace pelgar::hosts::qt
