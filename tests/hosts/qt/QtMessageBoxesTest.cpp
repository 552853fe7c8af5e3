#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <string>

#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtMessageBoxes.h"
#include "ui/host/MessageOutput.h"

namespace pelgar::hosts::qt {
namespace {

namespace box = ui::box;
namespace answer = ui::answer;

// What the next box showed, as "caption|icon|buttons", after answering it with `press`.
void Answer(int press, std::string* seen) {
  QTimer::singleShot(0, [press, seen] {
    auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(shown, nullptr);
    const char* const kIcons[] = {"none", "information", "warning", "critical", "question"};
    const QMessageBox::StandardButtons buttons = shown->standardButtons();
    *seen = shown->windowTitle().toStdString() + "|" + kIcons[shown->icon()] + "|" +
            (buttons == QMessageBox::Ok                        ? "ok"
             : buttons == (QMessageBox::Yes | QMessageBox::No) ? "yes|no"
                                                               : std::to_string(buttons));
    // Enter takes the default button; Escape a question's No, as closing it does.
    QTest::keyClick(shown, press == answer::kNo ? Qt::Key_Escape : Qt::Key_Return);
  });
}

TEST(QtMessageBoxes, IconAndButtonsFollowTheBoxTypeAndOnlyYesConsents) {
  QtHost host;
  QtMessageBoxes boxes(host);
  const struct {
    unsigned type;
    std::string caption;
    int result;
    std::string seen;
  } cases[] = {
      {box::kOk, "", answer::kOk, "Error|none|ok"},
      {box::kOk | box::kIconStop, "Error!", answer::kOk, "Error!|critical|ok"},
      {box::kYesNo | box::kIconInformation, "Enable?", answer::kYes, "Enable?|information|yes|no"},
      {box::kYesNo | box::kIconExclamation, "Warning!", answer::kNo, "Warning!|warning|yes|no"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seen);
    std::string seen;
    Answer(c.result, &seen);
    EXPECT_EQ(boxes.ShowBox("text", c.caption, c.type), c.result);
    EXPECT_EQ(seen, c.seen);
  }
  std::string seen;
  Answer(answer::kOk, &seen);
  EXPECT_EQ(boxes.ShowApplicationBox("plain", box::kOk), answer::kOk);
  EXPECT_EQ(seen, "Pelgar|none|ok");
}

}  // namespace
}  // namespace pelgar::hosts::qt
