#include "hosts/qt/QtFileDialogs.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>

#include "hosts/qt/DialogWindow.h"
#include "hosts/qt/QtControls.h"
#include "hosts/qt/QtHost.h"

namespace pelgar::hosts::qt {
namespace {

// Room beside a column's widest entry, so that its text is never cut by an ellipsis.
constexpr int kColumnPadding = 12;

}  // namespace

QStringList NameFilters(const ui::FileDialogRequest& request) {
  QStringList filters;
  for (const auto& [name, pattern] : request.filters) {
    QStringList patterns;
    for (const QString& one : FromBytes(pattern).split(QLatin1Char(';'))) {
      QString trimmed = one.trimmed();
      if (trimmed == QLatin1String("*.*")) trimmed = QStringLiteral("*");
      patterns << trimmed;
      if (trimmed.toLower() != trimmed) patterns << trimmed.toLower();
    }
    patterns.removeDuplicates();
    // A name that shows its pattern already gets the patterns Qt filters by instead.
    QString shown = FromBytes(name);
    if (shown.endsWith(QLatin1Char(')')) && shown.contains(QLatin1Char('('))) {
      shown = shown.left(shown.lastIndexOf(QLatin1Char('('))).trimmed();
    }
    filters << QStringLiteral("%1 (%2)").arg(shown, patterns.join(' '));
  }
  return filters;
}

void ShowDetailsWhole(QFileDialog& dialog) {
  dialog.setViewMode(QFileDialog::Detail);
  auto* view = dialog.findChild<QTreeView*>();
  auto* model = dialog.findChild<QFileSystemModel*>();
  if (view == nullptr || model == nullptr) return;
  // The columns' widths are known once a folder's entries are: each shown folder widens
  // them to what it holds, and the dialog to the columns, as far as the screen allows.
  QObject::connect(model, &QFileSystemModel::directoryLoaded, &dialog, [&dialog, view] {
    QHeaderView* header = view->header();
    int wanted = 0;
    for (int column = 0; column < header->count(); ++column) {
      if (column > 0) {
        header->resizeSection(
            column, std::max(header->sectionSize(column),
                             static_cast<QAbstractItemView*>(view)->sizeHintForColumn(column) +
                                 kColumnPadding));
      }
      wanted += header->sectionSize(column);
    }
    const int missing =
        wanted + view->verticalScrollBar()->sizeHint().width() - view->viewport()->width();
    QScreen* screen = dialog.screen();
    const int room = screen != nullptr ? screen->availableGeometry().width() : dialog.width();
    if (missing > 0) dialog.resize(std::min(dialog.width() + missing, room), dialog.height());
  });
}

std::optional<std::string> QtFileDialogs::Choose(const ui::FileDialogRequest& request) {
  QFileDialog dialog(host_.top(), FromBytes(request.title));
  // Qt's own dialog: the same on every desktop, and scriptable in tests.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  ShowDetailsWhole(dialog);
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
  return ToPath(dialog.selectedFiles().first());
}

}  // namespace pelgar::hosts::qt
