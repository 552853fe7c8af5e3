#include "hosts/qt/QtDesktop.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Application.h"
#include "hosts/qt/PelgarIcon.h"
#include "hosts/qt/QtControls.h"
#include "hosts/qt/QtFileDialogs.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtMessageBoxes.h"
#include "ui/host/HostServices.h"

namespace pelgar::hosts::qt {
namespace {

// Made before the toolkit starts: the handler that says it may not allocate.
const std::string& NoDisplay() {
  static const std::string message = app::NoWindowMessage("no display (is DISPLAY set?)");
  return message;
}

bool starting = false;
QtMessageHandler previous_handler = nullptr;

// The toolkit ends the process with an abort when it cannot reach the display. While the
// application starts, say what is wrong in one line and end with our own status instead.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
  if (starting && type == QtFatalMsg) {
    std::fputs(NoDisplay().c_str(), stderr);
    std::_Exit(app::kExitNoWindow);
  }
  if (starting && type != QtDebugMsg) return;  // the fatal line says it better
  if (previous_handler != nullptr) previous_handler(type, context, message);
}

bool DisplayNamed() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && *platform != '\0') return true;  // the user chose one
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

}  // namespace

int RunDesktop(int& argc, char** argv, app::Application& application) {
  if (!DisplayNamed()) {
    std::fputs(NoDisplay().c_str(), stderr);
    return app::kExitNoWindow;
  }
  NoDisplay();
  starting = true;
  previous_handler = qInstallMessageHandler(StartupMessageHandler);
  QApplication qt_application(argc, argv);
  starting = false;
  qInstallMessageHandler(previous_handler);
  QApplication::setApplicationName(FromBytes(ui::kProgramName));
  QApplication::setDesktopFileName(QStringLiteral("pelgar"));
  QApplication::setWindowIcon(PelgarIcon());
  // The program ends when its main window closes, not when the last window hides.
  QApplication::setQuitOnLastWindowClosed(false);

  QtHost host;
  QtFileDialogs files(host);
  QtMessageBoxes boxes(host);
  ui::HostServices services{host, host, host, files, boxes, host};
  return application.RunDesktop(services);
}

}  // namespace pelgar::hosts::qt
