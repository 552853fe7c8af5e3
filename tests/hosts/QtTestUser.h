#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <QWidget>
#include <string_view>

#include "hosts/qt/DialogWindow.h"

namespace pelgar::testing {

// Plays the user on a real dialog with synthetic mouse and key events.
class QtTestUser {
 public:
  explicit QtTestUser(hosts::qt::DialogWindow& window) : window_(window) {}

  QWidget* Widget(int id) { return window_.controls().Widget(id); }
  void Click(int id) { QTest::mouseClick(Widget(id), Qt::LeftButton, {}, QPoint(6, 6)); }
  void Type(int id, std::string_view chars) {
    Widget(id)->setFocus();
    QTest::keyClicks(Widget(id),
                     QString::fromLatin1(chars.data(), static_cast<qsizetype>(chars.size())));
  }
  // From the dropped-down list, as a user picks an entry.
  void Choose(int id, int index) {
    auto* list = qobject_cast<QComboBox*>(Widget(id));
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(index, 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
  }
  void PressEnter() { QTest::keyClick(&window_, Qt::Key_Return); }
  void PressEscape() { QTest::keyClick(&window_, Qt::Key_Escape); }
  void CloseBox() { window_.close(); }

 private:
  hosts::qt::DialogWindow& window_;
};

}  // namespace pelgar::testing
