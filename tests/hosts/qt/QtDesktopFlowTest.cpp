// The program's windows on the real Qt host (offscreen), driven with synthetic mouse and
// key events, against the in-process simulated reader on virtual time.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

#include "app/Desktop.h"
#include "app/RunSettings.h"
#include "hosts/qt/DialogWindow.h"
#include "hosts/qt/QtHost.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/FirmwareImages.h"
#include "support/RecordingPorts.h"
#include "support/ScriptedHost.h"
#include "tests/hosts/qt/QtTestUser.h"
#include "ui/enhanced/EnhancedConfigIds.h"
#include "ui/main/AboutBoxIds.h"
#include "ui/main/MainWindowIds.h"
#include "ui/update/UpdateWindowIds.h"

namespace pelgar::hosts::qt {
namespace {

namespace id = ui::main_id;
using testing::QtTestUser;
using User = std::function<void(DialogWindow&, QtTestUser&)>;

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

class QtDesktopFlowTest : public ::testing::Test {
 protected:
  QtDesktopFlowTest() {
    reader.state().revision = "REV 2.30";
    host.on_shown = [this](DialogWindow& window) {
      int dialog = window.dialog_template().id;
      opened += std::to_string(dialog) + " ";
      auto it = users.find(dialog);
      if (it == users.end()) return;
      QtTestUser user(window);
      it->second(window, user);
    };
  }

  // Runs the desktop until its main window closes.
  int Run() {
    app::RunSettings settings;
    ui::HostServices services{host, host, host, scripted, scripted, wait_hook ? *wait_hook : host};
    app::Desktop desktop(settings, services, env, out);
    return desktop.Run();
  }

  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory line{reader, clock};
  pelgar::testing::RecordingPorts ports{line, clock};
  std::ostringstream out, err;
  device::DeviceEnvironment env{ports, clock, out, err};
  QtHost host;
  pelgar::testing::ScriptedHost scripted{clock};  // file dialogs and message boxes
  platform::WaitHook* wait_hook = nullptr;
  std::map<int, User> users;
  std::string opened;
};

TEST_F(QtDesktopFlowTest, GetConfigFillsTheWindow) {
  reader.state().active_option_byte = 0x40;  // the custom configuration
  std::string seen;
  users[id::kDialog] = [&](DialogWindow& window, QtTestUser& user) {
    user.Click(id::kGetConfig);
    ui::Controls& c = window.controls();
    seen = c.GetText(id::kRevision, 20) + "|" + c.GetText(id::kSentinel1, 9) +
           c.GetText(id::kEndSentinel, 9) + "|" +
           (c.IsChecked(id::kCustomConfiguration) ? "1" : "0");
    user.PressEscape();
  };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_EQ(seen, "REV 2.30|%?|1");
  EXPECT_EQ(opened, "102 ");
  EXPECT_TRUE(scripted.shown.empty());
}

// Set Config with "Enabled" off asks first; only Yes switches the custom configuration on.
TEST_F(QtDesktopFlowTest, SetConfigAsksToEnableTheCustomConfiguration) {
  for (int answer : {ui::answer::kNo, ui::answer::kYes}) {
    SCOPED_TRACE(answer);
    reader.state().active_option_byte = 0;
    scripted.shown.clear();
    scripted.answers = {answer};
    bool enabled = false;
    users[id::kDialog] = [&](DialogWindow& window, QtTestUser& user) {
      user.Click(id::kGetConfig);
      user.Click(id::kStripSentinels);  // unreachable while custom is off: the click is lost
      user.Click(id::kSetConfig);
      enabled = window.controls().IsChecked(id::kCustomConfiguration);
      window.close();
    };
    Run();
    EXPECT_EQ(scripted.shown.size(), 1u);
    EXPECT_EQ(scripted.shown.empty() ? "" : scripted.shown[0].substr(0, 33),
              "Enable Custom Configuration?/44: ");
    EXPECT_EQ(enabled, answer == ui::answer::kYes);
    EXPECT_EQ(reader.state().active_option_byte & 0x40, answer == ui::answer::kYes ? 0x40 : 0);
  }
}

// The window's menu (right click, or Alt+Space) opens the about box and the enhanced window.
TEST_F(QtDesktopFlowTest, MenuOpensTheAboutBoxAndTheEnhancedWindow) {
  users[id::kDialog] = [&](DialogWindow& window, QtTestUser&) {
    ChooseFromNextMenu("&About Pelgar...");
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, QPoint(2, 2),
                                  window.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&window, &right_click);
    ChooseFromNextMenu("MSR &Enhanced Configuration...");
    QTest::keyClick(&window, Qt::Key_Space, Qt::AltModifier);
    ChooseFromNextMenu("&Close\tAlt+F4");
    QTest::keyClick(&window, Qt::Key_F10, Qt::ShiftModifier);
  };
  users[ui::about_id::kDialog] = [](DialogWindow&, QtTestUser& user) { user.PressEnter(); };
  users[ui::enhanced_id::kDialog] = [](DialogWindow&, QtTestUser& user) { user.PressEscape(); };
  EXPECT_EQ(Run(), ui::kIdCancel);
  EXPECT_EQ(opened, "102 100 130 ");
}

// The keys of the window's menu open it whatever has the focus, and the control never sees
// them: Alt+Space used to tick a check box, type a blank, open a list or run Set Config.
TEST_F(QtDesktopFlowTest, MenuKeysOpenTheMenuAndNeverReachTheFocusedControl) {
  struct Row {
    int dialog;
    int control;
  };
  const Row rows[] = {{id::kDialog, id::kCustomConfiguration},
                      {id::kDialog, id::kSetConfig},
                      {id::kDialog, id::kHeadText},
                      {id::kDialog, id::kPortList},
                      {ui::enhanced_id::kDialog, ui::enhanced_id::kHeadCheck},
                      {ui::enhanced_id::kDialog, ui::enhanced_id::kGetLanguage},
                      {ui::enhanced_id::kDialog, ui::enhanced_id::kLanguageList},
                      {ui::enhanced_id::kDialog, ui::enhanced_id::kRowLists[0]}};
  const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
      {Qt::Key_Space, Qt::AltModifier}, {Qt::Key_F10, Qt::ShiftModifier}, {Qt::Key_Menu, {}}};
  std::map<int, QString> menus;  // what each window's menu offered, once per key and control
  auto press_keys = [&](DialogWindow& window) {
    const size_t opens = ports.opened_names.size();
    for (const Row& row : rows) {
      if (row.dialog != window.dialog_template().id) continue;
      QWidget* control = window.controls().Widget(row.control);
      SCOPED_TRACE(control->metaObject()->className());
      ASSERT_TRUE(control->isEnabled());
      control->setFocus();
      auto state = [&] {
        const ui::Controls& c = window.controls();
        return std::to_string(c.IsChecked(row.control)) + c.GetText(row.control, 100) +
               (QApplication::activePopupWidget() != nullptr ? " popup" : "");
      };
      const std::string before = state();
      for (const auto& [key, modifiers] : keys) {
        QStringList items;
        ChooseFromNextMenu({}, &items);
        QTest::keyClick(control, key, modifiers);
        QApplication::processEvents();
        menus[row.dialog] += items.join('|') + "\n";
        EXPECT_EQ(state(), before);
      }
    }
    EXPECT_EQ(ports.opened_names.size(), opens);  // nothing went to the reader
  };
  users[id::kDialog] = [&](DialogWindow& window, QtTestUser& user) {
    user.Click(id::kHeadWrapper);  // opens its edit
    press_keys(window);
    window.Deliver(id::kEnhancedWindowCommand, ui::Notification::kMenuCommand);
    user.PressEscape();
  };
  users[ui::enhanced_id::kDialog] = [&](DialogWindow& window, QtTestUser& user) {
    press_keys(window);
    user.PressEscape();
  };
  Run();
  EXPECT_EQ(opened, "102 130 ");
  EXPECT_EQ(menus[id::kDialog].toStdString(),
            QStringLiteral("&Close\tAlt+F4|&About Pelgar...|MSR &Enhanced Configuration...\n")
                .repeated(12)
                .toStdString());
  EXPECT_EQ(menus[ui::enhanced_id::kDialog].toStdString(),
            QStringLiteral("&Close\tAlt+F4\n").repeated(12).toStdString());
  EXPECT_TRUE(scripted.shown.empty());
}

// The update runs inside the update window's timer event; its progress bar reaches the end
// and the window can be closed once it is done.
TEST_F(QtDesktopFlowTest, FirmwareUpdateRunsInTheWindowsTimer) {
  reader.state().revision = "REV 2.30";
  reader.state().program.fill(0x00);
  std::string hex = ::testing::TempDir() + "qt_flow_update.hex";
  std::ofstream(hex, std::ios::binary)
      << pelgar::testing::ToHexText(pelgar::testing::MakeImage("REV 2.31", 384, 0));
  scripted.choice = hex;
  int progress = -1, maximum = 0;
  users[id::kDialog] = [&](DialogWindow& window, QtTestUser& user) {
    user.Click(id::kFirmwareUpdate);
    window.close();
  };
  users[ui::update_id::kDialog] = [&](DialogWindow& window, QtTestUser&) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, &window, [&, poll] {
      if (host.waiting() || window.busy_depth() > 0 || scripted.shown.empty()) return;
      auto* bar =
          qobject_cast<QProgressBar*>(window.controls().Widget(ui::update_id::kProgressBar));
      progress = bar->value();
      maximum = bar->maximum();
      poll->stop();
      window.close();
    });
    poll->start(20);
  };
  Run();
  EXPECT_EQ(opened, "102 132 ");
  ASSERT_FALSE(scripted.shown.empty());
  EXPECT_EQ(scripted.shown.back().substr(0, 23), "MSR Firmware Update/40:");
  EXPECT_GT(maximum, 0);
  EXPECT_EQ(progress, maximum - 15);  // at the last line's address
  EXPECT_EQ(reader.state().revision, "REV 2.31");
}

// While the reader works the window repaints, but a click made meanwhile is dropped rather
// than run once the action ends.
TEST_F(QtDesktopFlowTest, WaitsRepaintAndDropInput) {
  struct Meddler : platform::WaitHook, QObject {
    explicit Meddler(QtHost& h) : host(h) {}
    void OnWait() override {
      if (target != nullptr && !clicked) {
        clicked = true;
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
          QCoreApplication::postEvent(target, new QMouseEvent(type, QPointF(5, 5), QPointF(5, 5),
                                                              Qt::LeftButton, Qt::LeftButton, {}));
        }
      }
      host.OnWait();
    }
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint && host.waiting()) ++paints;
      return false;
    }
    QtHost& host;
    QWidget* target = nullptr;
    bool clicked = false;
    int paints = 0;
  } meddler(host);
  wait_hook = &meddler;
  host.set_pass_interval(std::chrono::microseconds(0));  // virtual time passes in no time
  users[id::kDialog] = [&](DialogWindow& window, QtTestUser& user) {
    meddler.target = window.controls().Widget(id::kSaveSettings);
    qApp->installEventFilter(&meddler);
    user.Click(id::kGetConfig);
    qApp->removeEventFilter(&meddler);
    QApplication::processEvents();
    window.close();
  };
  Run();
  EXPECT_TRUE(meddler.clicked);
  EXPECT_GT(host.wait_calls(), 10);
  EXPECT_GT(meddler.paints, 0);
  EXPECT_EQ(scripted.request, std::nullopt);  // Save never asked for a file
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace pelgar::hosts::qt
