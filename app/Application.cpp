#include "app/Application.h"

#include <optional>
#include <ostream>

#include "app/CommandLine.h"
#include "app/MessageBoxService.h"
#include "app/MessageFunctions.h"
#include "app/RunSettings.h"
#include "app/UnattendedRun.h"
#include "device/DeviceSession.h"
#include "ui/ConfigFileActions.h"
#include "ui/ControlStore.h"
#include "ui/FileDialogs.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowTemplate.h"

namespace pelgar::app {
namespace {

// Without a display there is nobody to answer a box or choose a file. Unattended runs
// never ask (their messages go to the console), so these only keep a stray call harmless.
class NoMessageBoxes : public MessageBoxService {
 public:
  int ShowBox(std::string_view, std::string_view, unsigned) override { return 0; }
  int ShowApplicationBox(std::string_view, unsigned, unsigned) override { return 0; }
};

class NoFileDialogs : public ui::FileDialogs {
 public:
  std::optional<std::string> Choose(const ui::FileDialogRequest&) override { return {}; }
};

}  // namespace

int Application::Run(std::string_view command_line) {
  RunSettings settings = ParseCommandLine(command_line);
  if (!settings.Unattended()) {
    err_ << "pelgar: the desktop window is not available in this build.\n"
         << "Apply a configuration with: pelgar CONFIG.DAT[,COM3[,19200]]  (pelgar --help)"
         << std::endl;
    return kExitNoWindow;
  }

  ui::ControlStore controls(ui::MainWindowTemplate());
  NoMessageBoxes boxes;
  MessageFunctions messages(settings, boxes, clock_, out_);
  device::DeviceEnvironment env{ports_, clock_, out_, err_};
  ui::MainWindow window(controls, messages, env, settings.WindowSettings());
  NoFileDialogs dialogs;
  ui::ConfigFileActions files(window, dialogs);
  UnattendedRun run(settings, files);

  int status = kExitFailure;
  window.hooks().save_configuration = [&files](ui::MainWindow&) { files.Save(); };
  window.hooks().load_configuration = [&files](ui::MainWindow&) { files.Load(); };
  window.hooks().unattended_run = [&run, &status](ui::MainWindow& main) {
    status = run.Run(main);
    return status;
  };
  window.OnInitDialog();
  out_ << std::endl;
  return status;
}

}  // namespace pelgar::app
