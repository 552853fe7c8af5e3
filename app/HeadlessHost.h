#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/host/HostServices.h"

namespace pelgar::app {

// The host of an unattended run: windows are control stores that nobody sees, and nobody
// is there to answer a box, choose a file or close a window. The main window's opening
// performs the run and closes; these services only keep a stray call harmless.
class HeadlessHost : public ui::DialogHost,
                     public ui::WindowTimer,
                     public ui::CloseItem,
                     public ui::FileDialogs,
                     public ui::MessageBoxService,
                     public platform::WaitHook {
 public:
  // The result the window was closed with while opening; 0 when it stayed open, since no
  // user will ever close it.
  int RunModal(const ui::DialogTemplate& dialog, ui::DialogLogic& logic) override;
  void SetTimer(int, int64_t, ui::TimerEvents&) override {}
  void KillTimer(int) override {}
  void EnableClose(bool) override {}
  std::optional<std::string> Choose(const ui::FileDialogRequest&) override { return {}; }
  int ShowBox(std::string_view, std::string_view, unsigned) override { return 0; }
  int ShowApplicationBox(std::string_view, unsigned) override { return 0; }
  void OnWait() override {}

  ui::HostServices services() { return {*this, *this, *this, *this, *this, *this}; }
};

}  // namespace pelgar::app
