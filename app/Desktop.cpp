#include "app/Desktop.h"

#include "ui/main/MainWindowTemplate.h"

namespace pelgar::app {

Desktop::Desktop(RunSettings& settings, const ui::HostServices& host,
                 device::DeviceEnvironment& env, std::ostream& console)
    : host_(host),
      env_(env),
      messages_(settings, host.boxes, env.clock, console),
      main_(messages_, env, settings.WindowSettings()),
      enhanced_(env, messages_),
      updater_({env.ports, env.clock, messages_, host.dialogs, host.timer, host.close_item,
                host.files, env.err}),
      files_(main_, host.files),
      run_(settings, files_) {
  ui::MainWindowHooks& hooks = main_.hooks();
  hooks.unattended_run = [this](ui::MainWindow& window) { return run_.Run(window); };
  hooks.save_configuration = [this](ui::MainWindow&) { files_.Save(); };
  hooks.load_configuration = [this](ui::MainWindow&) { files_.Load(); };
  hooks.enhanced_window = [this](const ui::PortTexts& texts, bool individual_cr_allowed) {
    enhanced_.SetPortTexts(texts);
    enhanced_.SetIndividualCrAllowed(individual_cr_allowed);
    enhanced_.Open(host_.dialogs);
  };
  hooks.firmware_update = [this](const ui::PortTexts& texts) {
    updater_.SetPort(texts.port, texts.baud);
    updater_.DoModal();  // the result is not used
  };
  hooks.about_box = [this] { host_.dialogs.RunModal(ui::AboutBoxTemplate(), about_); };
}

int Desktop::Run() {
  // Every wait of the reader's work lets the host repaint its windows.
  env_.clock.SetWaitHook(&host_.wait_hook);
  int result = host_.dialogs.RunModal(ui::MainWindowTemplate(), main_);
  env_.clock.SetWaitHook(nullptr);
  return result;
}

}  // namespace pelgar::app
