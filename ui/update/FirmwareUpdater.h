#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "firmware/FirmwareImage.h"
#include "firmware/IspSequence.h"
#include "firmware/PlainMessages.h"
#include "firmware/UpdateProgress.h"
#include "firmware/UpdaterLink.h"
#include "ui/host/Controls.h"
#include "ui/host/DialogLogic.h"
#include "ui/host/TimerEvents.h"
#include "ui/update/UpdaterServices.h"

namespace pelgar::ui {

// The firmware update as the main window runs it. DoModal opens the port, lets the user
// choose a firmware file and loads it; only then does window 132 appear, and 200 ms later
// its one-shot timer runs the whole update: revision checks, ISP steps, a status text
// after each, and a closing message. The main window owns one updater for its whole life.
//
// Starting an update from the main window's Firmware Update button (1014), through its
// firmware_update hook, which hands over the port and baud texts (at most 9 characters):
//   hooks.firmware_update = [&updater](const PortTexts& texts) {
//     updater.SetPort(texts.port, texts.baud);
//     updater.DoModal();  // the result is not used
//   };
class FirmwareUpdater : public DialogLogic,
                        public TimerEvents,
                        public firmware::UpdateProgress,
                        public firmware::PlainMessages {
 public:
  explicit FirmwareUpdater(const UpdaterServices& services);

  // Port and baud texts are kept as at most kPortTextChars characters.
  void SetPort(std::string_view port_text, std::string_view baud_text);
  // 0 when it ends before the window is shown (port, file dialog, file or load failure),
  // else the window's result.
  int DoModal();

  // Window 132's events.
  void OnOpening(Controls& controls) override;
  void OnControl(int id, Notification notification) override;
  void OnClosed() override;
  void OnTimer(int timer_id) override;

  const firmware::FirmwareImage& read_back() const { return read_back_; }
  bool port_open() const { return link_.port_open(); }

 private:
  // What the ISP sequence reports goes to the window's progress bar and message boxes.
  void SetRange(int low, int high) override;
  void SetPosition(int position) override;
  void ShowPlainMessage(std::string_view text) override;

  // Chooses and loads the firmware file. On failure the port is closed before any box.
  bool LoadFile();
  void RunUpdate();
  bool CheckRevisions();
  void ShowStatus(std::string_view text);
  void Fail(std::string_view failure_text);

  UpdaterServices services_;
  firmware::UpdaterLink link_;
  firmware::IspSequence isp_;
  std::string port_text_;
  std::string baud_text_;
  std::string status_text_;
  std::string file_revision_;
  std::string device_revision_;
  firmware::FirmwareImage image_{};
  firmware::FirmwareImage read_back_{};
  Controls* window_ = nullptr;
  bool updating_ = false;
};

}  // namespace pelgar::ui
