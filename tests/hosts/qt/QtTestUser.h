#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <QWidget>
#include <string_view>

#include "hosts/qt/DialogWindow.h"
#include "support/ContractUser.h"

namespace pelgar::testing {

// Plays the user on a real dialog with synthetic mouse and key events.
class QtTestUser : public ContractUser {
 public:
  explicit QtTestUser(hosts::qt::DialogWindow& window) : window_(window) {}

  QWidget* Widget(int id) { return window_.controls().Widget(id); }
  void Click(int id) override { QTest::mouseClick(Widget(id), Qt::LeftButton, {}, QPoint(6, 6)); }
  void Type(int id, std::string_view chars) override {
    Widget(id)->setFocus();
    QTest::keyClicks(Widget(id),
                     QString::fromLatin1(chars.data(), static_cast<qsizetype>(chars.size())));
  }
  // From the dropped-down list, as a user picks an entry.
  void Choose(int id, int index) override {
    auto* list = qobject_cast<QComboBox*>(Widget(id));
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(index, 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
  }
  void PressEnter() override { QTest::keyClick(&window_, Qt::Key_Return); }
  void PressEscape() override { QTest::keyClick(&window_, Qt::Key_Escape); }
  void CloseBox() override { window_.close(); }

 private:
  hosts::qt::DialogWindow& window_;
};

}  // namespace pelgar::testing
