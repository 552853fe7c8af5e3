// pelgar-screenshots: renders each of Pelgar's windows from the real Qt host into PNG
// files, against the in-process simulated reader: the main window after Get Config, the
// enhanced configuration window, the update window midway and the about box.
//   pelgar-screenshots DIR
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QProcess>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "app/Desktop.h"
#include "hosts/qt/DialogWindow.h"
#include "hosts/qt/QtFileDialogs.h"
#include "hosts/qt/QtHost.h"
#include "support/FirmwareImages.h"
#include "tools/AutoUser.h"
#include "tools/ScreenshotReader.h"
#include "ui/enhanced/EnhancedConfigIds.h"
#include "ui/main/AboutBoxIds.h"
#include "ui/main/MainWindowIds.h"
#include "ui/update/UpdateWindowIds.h"

namespace {

using pelgar::hosts::qt::DialogWindow;
namespace id = pelgar::ui::main_id;

// The widths of the frame a window manager put around `window`, as it states them on the
// window (left, right, top, bottom); none without a window manager. Qt's own account of the
// frame can be stale: it reads it while the manager is still taking the window in.
QMargins FrameExtents(const QWidget& window) {
  QProcess xprop;
  xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window.winId()),
                                        QStringLiteral("_NET_FRAME_EXTENTS")});
  if (!xprop.waitForFinished(2000)) return {};
  // _NET_FRAME_EXTENTS(CARDINAL) = 1, 1, 20, 1
  const QStringList widths =
      QString::fromLocal8Bit(xprop.readAllStandardOutput()).section('=', 1).split(',');
  if (widths.size() != 4) return {};
  return {widths[0].toInt(), widths[2].toInt(), widths[1].toInt(), widths[3].toInt()};
}

// The window as the user sees it, with the frame and title bar a window manager draws
// around it. With `settle`, first lets the window manager frame, place and paint it: the
// window is on the screen in its frame and has stayed there for a while.
QPixmap Framed(QWidget& window, bool settle) {
  QElapsedTimer waited;
  waited.start();
  QElapsedTimer still;
  still.start();
  QRect last;
  while (settle && waited.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    const QRect frame = window.geometry().marginsAdded(FrameExtents(window));
    if (frame != last || frame == window.geometry() || !window.windowHandle()->isExposed()) {
      last = frame;
      still.restart();
    } else if (still.elapsed() >= 500) {
      break;
    }
  }
  const QRect frame = window.geometry().marginsAdded(FrameExtents(window));
  return window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
}

// Grabs the update window once its progress bar is halfway, from inside the waits.
class Midway : public pelgar::platform::WaitHook {
 public:
  Midway(pelgar::hosts::qt::QtHost& host, QString path) : host_(host), path_(std::move(path)) {}
  void OnWait() override {
    host_.OnWait();
    DialogWindow* top = host_.top();
    if (done_ || top == nullptr || top->dialog_template().id != pelgar::ui::update_id::kDialog)
      return;
    auto* bar =
        qobject_cast<QProgressBar*>(top->controls().Widget(pelgar::ui::update_id::kProgressBar));
    if (bar != nullptr && bar->maximum() > bar->minimum() &&
        (bar->value() - bar->minimum()) * 2 >= bar->maximum() - bar->minimum()) {
      // Inside a wait nothing else may run: the window has long been framed and painted.
      done_ = Framed(*top, false).save(path_);
    }
  }

 private:
  pelgar::hosts::qt::QtHost& host_;
  QString path_;
  bool done_ = false;
};

// Picks the entry `text` of the popup menu that opens next, with the Return key.
void ChooseFromNextMenu(const char* text) {
  QTimer::singleShot(0, [text] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) {
      if (action->text() == QLatin1String(text)) menu->setActiveAction(action);
    }
    if (menu->activeAction() == nullptr) {
      menu->close();
      return;
    }
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(menu, &press);
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: pelgar-screenshots DIR\n";
    return 2;
  }
  QApplication application(argc, argv);
  const QString dir = QString::fromLocal8Bit(argv[1]);
  auto png = [&dir](const char* name) { return dir + "/" + name + ".png"; };

  pelgar::tools::ScreenshotReader reader;

  pelgar::hosts::qt::QtHost host;
  pelgar::tools::AutoUser user;
  user.file = std::string(argv[1]) + "/screenshots-firmware.hex";
  std::ofstream(user.file, std::ios::binary)
      << pelgar::testing::ToHexText(pelgar::testing::MakeImage("REV 2.31", 0x2000, 0));
  Midway midway(host, png("update-window"));
  int saved = 0;
  host.on_shown = [&](DialogWindow& window) {
    auto save = [&](const char* name) { saved += Framed(window, true).save(png(name)); };
    switch (window.dialog_template().id) {
      case id::kDialog:
        window.Deliver(id::kGetConfig, pelgar::ui::Notification::kClicked);
        QApplication::processEvents();
        save("main-window");
        {
          // A tip as the user sees it when resting on Get Config.
          QWidget* button = window.controls().Widget(id::kGetConfig);
          QToolTip::showText(button->mapToGlobal(QPoint(20, 20)), button->toolTip(), button);
          QRect area = window.geometry().marginsAdded(FrameExtents(window));
          QRect tip_area;
          // The tip is a window of its own, which the window manager maps in its own time:
          // wait until it is on the screen, and a moment more for it to be painted.
          QElapsedTimer waited;
          waited.start();
          while (tip_area.isNull() && waited.elapsed() < 2000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            for (QWidget* tip : QApplication::topLevelWidgets()) {
              if (tip->inherits("QTipLabel") && tip->isVisible() &&
                  tip->windowHandle()->isExposed()) {
                tip_area = tip->frameGeometry();
              }
            }
          }
          waited.restart();
          while (waited.elapsed() < 200) QApplication::processEvents(QEventLoop::AllEvents, 20);
          area |= tip_area;
          QScreen* screen = QGuiApplication::primaryScreen();
          saved += screen->grabWindow(0).copy(area).save(png("tooltip"));
          QToolTip::hideText();
        }
        ChooseFromNextMenu("&About Pelgar...");
        window.ShowSystemMenu(window.mapToGlobal(QPoint(4, 4)));
        ChooseFromNextMenu("MSR &Enhanced Configuration...");
        window.ShowSystemMenu(window.mapToGlobal(QPoint(4, 4)));
        window.Deliver(id::kFirmwareUpdate, pelgar::ui::Notification::kClicked);
        window.controls().Close(pelgar::ui::kIdCancel);
        break;
      case pelgar::ui::about_id::kDialog:
        save("about-box");
        window.controls().Close(pelgar::ui::kIdOk);
        break;
      case pelgar::ui::enhanced_id::kDialog:
        save("enhanced-window");
        window.controls().Close(pelgar::ui::kIdCancel);
        break;
      case pelgar::ui::update_id::kDialog: {
        // Close once the update, which runs in the window's timer, is over.
        auto* poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, &window, [&window, &host, poll] {
          if (host.waiting() || window.busy_depth() > 0 || !window.close_enabled()) return;
          poll->stop();
          window.close();
        });
        poll->start(50);
        break;
      }
      default:
        break;
    }
  };
  pelgar::app::RunSettings settings;
  pelgar::ui::HostServices services{host, host, host, user, user, midway};
  pelgar::app::Desktop desktop(settings, services, reader.env, reader.out);
  desktop.Run();
  saved += QFile::exists(png("update-window"));
  std::cout << "pelgar-screenshots: " << saved << " of 5 pictures saved in " << argv[1] << "\n";
  return saved == 5 ? 0 : 1;
}
