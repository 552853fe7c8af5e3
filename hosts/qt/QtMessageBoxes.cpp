#include "hosts/qt/QtMessageBoxes.h"

#include <QMessageBox>

#include "hosts/qt/DialogWindow.h"
#include "hosts/qt/QtControls.h"
#include "hosts/qt/QtHost.h"
#include "ui/host/MessageOutput.h"

namespace pelgar::hosts::qt {
namespace {

QMessageBox::Icon IconOf(unsigned type) {
  switch (type & ui::box::kIconMask) {
    case ui::box::kIconStop:
      return QMessageBox::Critical;
    case ui::box::kIconQuestion:
      return QMessageBox::Question;
    case ui::box::kIconExclamation:
      return QMessageBox::Warning;
    case ui::box::kIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int QtMessageBoxes::ShowBox(std::string_view text, std::string_view caption, unsigned type) {
  bool yes_no = (type & ui::box::kButtonMask) == ui::box::kYesNo;
  QMessageBox box(IconOf(type), FromBytes(ui::BoxCaption(caption)), FromBytes(text),
                  yes_no ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, host_.top());
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  if (yes_no) {
    // Closing a question is not consent.
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  }
  int pressed = box.exec();
  if (!yes_no) return ui::answer::kOk;
  return pressed == QMessageBox::Yes ? ui::answer::kYes : ui::answer::kNo;
}

}  // namespace pelgar::hosts::qt
