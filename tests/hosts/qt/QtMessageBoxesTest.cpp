#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <string>

#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtMessageBoxes.h"
#include "ui/host/MessageOutput.h"

namespace pelgar::hosts::qt {
namespace {

// What the next box showed, as "caption|icon|buttons", after pressing `press` on it.
void Answer(QMessageBox::StandardButton press, std::string* seen) {
  QTimer::singleShot(0, [press, seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    *seen = box->windowTitle().toStdString() + "|" + std::to_string(box->icon()) + "|" +
            std::to_string(box->standardButtons());
    box->button(press)->click();
  });
}

TEST(QtMessageBoxes, IconAndButtonsFollowTheBoxTypeAndOnlyYesConsents) {
  QtHost host;
  QtMessageBoxes boxes(host);
  const struct {
    unsigned type;
    std::string caption;
    QMessageBox::StandardButton press;
    int result;
    std::string seen;
  } cases[] = {
      {ui::box::kOk, "", QMessageBox::Ok, ui::answer::kOk,
       "Error|0|" + std::to_string(QMessageBox::Ok)},
      {ui::box::kOk | ui::box::kIconExclamation, "Error!", QMessageBox::Ok, ui::answer::kOk,
       "Error!|2|" + std::to_string(QMessageBox::Ok)},
      {ui::box::kOk | ui::box::kIconInformation, "Settings Saved!", QMessageBox::Ok,
       ui::answer::kOk, "Settings Saved!|1|" + std::to_string(QMessageBox::Ok)},
      {ui::box::kOk | ui::box::kIconStop, "Error!", QMessageBox::Ok, ui::answer::kOk,
       "Error!|3|" + std::to_string(QMessageBox::Ok)},
      {ui::box::kYesNo | ui::box::kIconInformation, "Enable?", QMessageBox::Yes, ui::answer::kYes,
       "Enable?|1|" + std::to_string(QMessageBox::Yes | QMessageBox::No)},
      {ui::box::kYesNo | ui::box::kIconExclamation, "Warning!", QMessageBox::No, ui::answer::kNo,
       "Warning!|2|" + std::to_string(QMessageBox::Yes | QMessageBox::No)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seen);
    std::string seen;
    Answer(c.press, &seen);
    EXPECT_EQ(boxes.ShowBox("text", c.caption, c.type), c.result);
    EXPECT_EQ(seen, c.seen);
  }
  std::string seen;
  Answer(QMessageBox::Ok, &seen);
  EXPECT_EQ(boxes.ShowApplicationBox("plain", ui::box::kOk), ui::answer::kOk);
  EXPECT_EQ(seen, "Pelgar|0|" + std::to_string(QMessageBox::Ok));
}

}  // namespace
}  // namespace pelgar::hosts::qt
