#include <gtest/gtest.h>

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

}  // namespace
}  // namespace pelgar::hosts::qt
