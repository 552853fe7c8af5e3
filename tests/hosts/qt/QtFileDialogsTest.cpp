#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QStandardPaths>
#include <QTest>
#include <QTreeView>

#include "hosts/qt/QtFileDialogs.h"

namespace pelgar::hosts::qt {
namespace {

// File names here are case-sensitive: a capital pattern must still list the small-letter
// files a technician has, and "*.*" must list files without a dot.
TEST(QtFileDialogs, FiltersListBothLetterCasesAndFilesWithoutADot) {
  ui::FileDialogRequest request;
  request.filters = {{"All", "*.*"}, {"Text", "*.TXT"}, {"Intel Hex (*.hex)", "*.HEX"}};
  EXPECT_EQ(NameFilters(request).join(QStringLiteral(";;")).toStdString(),
            "All (*);;Text (*.TXT *.txt);;Intel Hex (*.HEX *.hex)");
}

// Qt's dialog opened too narrow for its columns: a file's type and date ended in "...".
TEST(QtFileDialogs, ShowTheSizeTypeAndDateOfAFileWhole) {
  QStandardPaths::setTestModeEnabled(true);  // the dialog keeps its state in the settings
  const QString dir = QString::fromStdString(::testing::TempDir()) + "file_dialog_columns";
  QDir().mkpath(dir);
  for (const char* name : {"/CMakeLists.txt", "/reader.DAT", "/firmware.hex"}) {
    QFile file(dir + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  QFileDialog dialog(nullptr, QStringLiteral("Columns"), dir);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  ShowDetailsWhole(dialog);
  dialog.show();
  auto* view = dialog.findChild<QTreeView*>();
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) == 3; }));
  QApplication::processEvents();
  QHeaderView* header = view->header();
  for (int column = 1; column < header->count(); ++column) {
    SCOPED_TRACE(column);
    EXPECT_GE(header->sectionSize(column),
              static_cast<QAbstractItemView*>(view)->sizeHintForColumn(column));
  }
  EXPECT_LE(header->length(), view->viewport()->width());
}

}  // namespace
}  // namespace pelgar::hosts::qt
