// The controls' contract and the desktop's flows on the real Qt host (offscreen), driven with
// synthetic mouse and key events; and the keys of its window menu, which only this host
// catches itself.
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <optional>

#include "hosts/qt/DialogWindow.h"
#include "hosts/qt/QtHost.h"
#include "support/ControlsContract.h"
#include "support/DesktopFlow.h"
#include "tests/hosts/qt/QtTestUser.h"

namespace pelgar::testing {
namespace {

using hosts::qt::DialogWindow;

// Chooses the entry `text` of the popup menu that opens next, with the keyboard; with no
// such entry, or an empty `text`, closes the menu unchosen. `items` gets the menu's entries.
void ChooseFromNextMenu(const QString& text, QStringList* items = nullptr) {
  QTimer::singleShot(0, [text, items] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) {
      if (items != nullptr && !action->isSeparator()) *items << action->text();
      if (!text.isEmpty() && action->text() == text) menu->setActiveAction(action);
    }
    if (menu->activeAction() == nullptr) {
      menu->close();
    } else {
      QTest::keyClick(menu, Qt::Key_Return);
    }
  });
}

class QtFlowWindow : public FlowWindow {
 public:
  explicit QtFlowWindow(DialogWindow& window) : window_(window), user_(window) {}
  int id() override { return window_.dialog_template().id; }
  ui::Controls& controls() override { return window_.controls(); }
  ContractUser& user() override { return user_; }
  // From the popup a right click opens.
  void ChooseFromMenu(int command) override {
    for (const ui::MenuItem& item : window_.dialog_template().system_menu) {
      if (item.command == command) ChooseFromNextMenu(QString::fromStdString(item.text));
    }
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, QPoint(2, 2),
                                  window_.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&window_, &right_click);
  }
  void RunUntil(const std::function<bool()>& done) override {
    EXPECT_TRUE(QTest::qWaitFor(done, 20000));
  }
  std::pair<int, int> Progress(int id) override {
    auto* bar = qobject_cast<QProgressBar*>(window_.controls().Widget(id));
    return {bar->value(), bar->maximum()};
  }
  void QueueClick(int id) override {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QCoreApplication::postEvent(
          window_.controls().Widget(id),
          new QMouseEvent(type, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, {}));
    }
  }
  void QueueCloseRequest() override { QCoreApplication::postEvent(&window_, new QCloseEvent); }
  void RunQueued() override { QApplication::processEvents(); }
  bool close_requested() override { return window_.close_requested(); }
  // The window's menu opens, and offers Close.
  bool CloseOffered() override {
    QStringList items;
    ChooseFromNextMenu({}, &items);
    QTest::keyClick(&window_, Qt::Key_Space, Qt::AltModifier);
    return items.contains(QStringLiteral("&Close\tAlt+F4"));
  }
  // The window turns application-modal in exec(), which follows its showing at once; here it
  // can only be seen to belong to the window below.
  bool OwnerBlocked() override { return window_.parentWidget() != nullptr; }

 private:
  DialogWindow& window_;
  QtTestUser user_;
};

// Counts the paints of any widget while an action waits.
class QtFlowHarness : public HostHarness<hosts::qt::QtHost, QtFlowWindow>, public QObject {
 public:
  int Run(device::DeviceEnvironment& env, ScriptedHost& scripted, const FlowCalls& calls) override {
    qApp->installEventFilter(this);
    const int result = HostHarness::Run(env, scripted, calls);
    qApp->removeEventFilter(this);
    return result;
  }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && host.waiting()) ++paints_;
    return false;
  }
  bool wait_cursor() override { return QApplication::overrideCursor() != nullptr; }
  int paints_while_waiting() override { return paints_; }

 private:
  int paints_ = 0;
};

using QtContractHarness = DesktopContractHarness<hosts::qt::QtHost, QtTestUser>;
INSTANTIATE_TEST_SUITE_P(Hosts, ControlsContract,
                         ::testing::Values(Harness<QtContractHarness>("QtHost")), HarnessName);

INSTANTIATE_TEST_SUITE_P(Hosts, DesktopFlow, ::testing::Values(Flow<QtFlowHarness>("QtHost")),
                         FlowName);

using QtDesktopFlow = DesktopFlow;
INSTANTIATE_TEST_SUITE_P(Qt, QtDesktopFlow, ::testing::Values(Flow<QtFlowHarness>("QtHost")),
                         FlowName);

// The keys of the window's menu open it whatever has the focus, and the control never sees
// them: Alt+Space used to tick a check box, type a blank, open a list or run Set Config.
TEST_P(QtDesktopFlow, MenuKeysOpenTheMenuAndNeverReachTheFocusedControl) {
  namespace id = ui::main_id;
  const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
      {Qt::Key_Space, Qt::AltModifier}, {Qt::Key_F10, Qt::ShiftModifier}, {Qt::Key_Menu, {}}};
  QString menus;  // what the window's menu offered, once per key and control
  users[id::kDialog] = [&](FlowWindow& window) {
    auto& controls = static_cast<hosts::qt::QtControls&>(window.controls());
    window.user().Click(id::kHeadWrapper);  // opens its edit
    const size_t opens = ports.opened_names.size();
    for (int id : {id::kCustomConfiguration, id::kSetConfig, id::kHeadText, id::kPortList}) {
      QWidget* control = controls.Widget(id);
      SCOPED_TRACE(control->metaObject()->className());
      ASSERT_TRUE(control->isEnabled());
      control->setFocus();
      auto state = [&] {
        return std::to_string(controls.IsChecked(id)) + controls.GetText(id, 100) +
               (QApplication::activePopupWidget() != nullptr ? " popup" : "");
      };
      const std::string before = state();
      for (const auto& [key, modifiers] : keys) {
        QStringList items;
        ChooseFromNextMenu({}, &items);
        QTest::keyClick(control, key, modifiers);
        QApplication::processEvents();
        menus += items.join('|') + "\n";
        EXPECT_EQ(state(), before);
      }
    }
    EXPECT_EQ(ports.opened_names.size(), opens);  // nothing went to the reader
    ChooseFromNextMenu("&Close\tAlt+F4");         // the menu's own item
    QTest::keyClick(controls.Widget(id::kGetConfig), Qt::Key_F10, Qt::ShiftModifier);
  };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_EQ(opened, "102 ");
  EXPECT_EQ(menus.toStdString(),
            QStringLiteral("&Close\tAlt+F4|&About Pelgar...|MSR &Enhanced Configuration...\n")
                .repeated(12)
                .toStdString());
  EXPECT_TRUE(scripted.shown.empty());
}

}  // namespace
}  // namespace pelgar::testing
