#include "ui/update/FirmwareUpdater.h"

#include <fstream>
#include <optional>
#include <sstream>

#include "firmware/HexReader.h"
#include "firmware/RevisionCheck.h"
#include "platform/Files.h"
#include "ui/ReaderClaim.h"
#include "ui/update/UpdateWindowIds.h"
#include "ui/update/UpdateWindowTemplate.h"

namespace pelgar::ui {
namespace {

using firmware::kNoCode;
using firmware::RevisionComparison;

constexpr unsigned kStopOk = box::kOk | box::kIconStop;
constexpr unsigned kExclamationOk = box::kOk | box::kIconExclamation;
constexpr unsigned kExclamationYesNo = box::kYesNo | box::kIconExclamation;
constexpr unsigned kInformationOk = box::kOk | box::kIconInformation;

constexpr std::string_view kOpenFileError = "Error opening MSR firmware hex file.";
constexpr std::string_view kLoadFileError = "Error verifying the opened MSR firmware hex file.";
constexpr std::string_view kFileRevisionMessage =
    "It could not check the MSR firmware version.\nPlease check the MSR device or selected COM "
    "port and Baud Rate.";
constexpr std::string_view kSameOrOlderMessage =
    "MSR firmware has identical or newer version.\nContinue to update the firmware to MSR?";
constexpr std::string_view kWarningCaption = "Warning!";
constexpr std::string_view kUnsupportedMessage =
    "The selected firmware is NOT supported by the device. \nPlease select other firmware "
    "file.";
constexpr std::string_view kSuccessMessage =
    "MSR firmware is updated successfully. Please unplug/plug the MSR to activate the "
    "changes.";
constexpr std::string_view kSuccessCaption = "MSR Firmware Update";
constexpr std::string_view kTerminated = "\nFirmware update is terminated.";

}  // namespace

FirmwareUpdater::FirmwareUpdater(const UpdaterServices& services)
    : services_(services), link_(services.ports, services.clock), isp_(link_, *this, services.err) {
  image_.fill(kNoCode);
  read_back_.fill(kNoCode);
}

void FirmwareUpdater::SetPort(std::string_view port_text, std::string_view baud_text) {
  port_text_ = port_text.substr(0, kPortTextChars);
  baud_text_ = baud_text.substr(0, kPortTextChars);
}

int FirmwareUpdater::DoModal() {
  status_text_.clear();
  file_revision_.clear();
  image_.fill(kNoCode);
  read_back_.fill(kNoCode);
  if (!link_.OpenPort(port_text_, baud_text_)) return 0;
  if (!LoadFile()) return 0;
  return services_.dialogs.RunModal(UpdateWindowTemplate(), *this);
}

bool FirmwareUpdater::LoadFile() {
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::kOpen;
  request.title = "Select the Desired MSR Firmware Hex File";
  request.filters = {{"Intel Hex (*.hex)", "*.HEX"}};
  request.must_exist = true;
  std::optional<std::string> chosen = services_.files.ChoosePath(request);
  if (!chosen) {
    link_.ClosePort();
    return false;
  }
  const std::string& path = *chosen;
  // Only a regular file is a firmware file: a folder opens as an empty stream and a device
  // or a pipe may never end, and either would fail later under a misleading message. A
  // read of nothing tells without waiting whether it is one.
  std::string why;
  std::ifstream file;
  if (platform::ReadFileStart(path, 0, &why)) {
    file.open(path, std::ios::in | std::ios::binary);
    if (!file.is_open()) why = "cannot be opened";
  }
  // The port is let go before either box, so it is not held while the box waits. Each
  // box says why after a blank line: whoever started the program from a menu sees no
  // standard error.
  if (!file.is_open()) {
    link_.ClosePort();
    services_.messages.ShowMessage(std::string(kOpenFileError) + "\n\n" + path + ": " + why,
                                   kErrorCaption, kExclamationOk);
    return false;
  }
  firmware::HexReader reader(file);
  std::ostringstream problem;
  if (!firmware::LoadFirmwareImage(reader, image_, problem, path)) {
    std::string line = problem.str();
    services_.err << line << std::flush;
    while (!line.empty() && line.back() == '\n') line.pop_back();
    link_.ClosePort();
    services_.messages.ShowMessage(std::string(kLoadFileError) + "\n\n" + line, kErrorCaption,
                                   kExclamationOk);
    return false;
  }
  return true;
}

void FirmwareUpdater::OnOpening(Controls& controls) {
  window_ = &controls;
  window_->SetText(update_id::kStatusLine, status_text_);
  services_.close_item.EnableClose(false);
  services_.timer.SetTimer(kUpdateTimerId, kUpdateTimerMs, *this);
}

void FirmwareUpdater::OnControl(int id, Notification notification) {
  if (notification != Notification::kClicked || window_ == nullptr) return;
  // Enter and Escape end the window, but never in the middle of an update (a host that
  // keeps repainting during waits must not let one through).
  if ((id == kIdOk || id == kIdCancel) && !updating_) window_->Close(id);
}

void FirmwareUpdater::OnClosed() {
  // Dismissed before the timer fired: the update never ran, but the port is open.
  services_.timer.KillTimer(kUpdateTimerId);
  link_.ClosePort();
  window_ = nullptr;
}

void FirmwareUpdater::OnTimer(int timer_id) {
  if (timer_id != kUpdateTimerId) return;
  services_.timer.KillTimer(kUpdateTimerId);
  if (window_ == nullptr || updating_) return;
  updating_ = true;
  RunUpdate();
  updating_ = false;
}

void FirmwareUpdater::RunUpdate() {
  if (!CheckRevisions()) return;
  isp_.AnalyseImage(image_, file_revision_);
  if (!isp_.EnterIspSetup()) return Fail("Error entering ISP programming setup!");
  ShowStatus("Entering ISP programming setup successfully.");
  if (isp_.high_region()) {
    if (!isp_.SetIplOption()) return Fail("Error setting IPL flashing option!");
    ShowStatus("Setting IPL flashing option successfully.");
  }
  if (!isp_.EraseFirmware()) return Fail("Error erasing MSR firmware!");
  ShowStatus("Erasing MSR firmware successfully.");
  ShowStatus("Updating the MSR firmware...");
  if (!isp_.ProgramAndVerify(image_, read_back_, *this)) {
    return Fail("Error updating MSR firmware!");
  }
  ShowStatus("Updating MSR firmware successfully.");
  if (!isp_.ExitIsp()) return Fail("Error exiting ISP programming mode!");
  ShowStatus("Exiting ISP programming mode successfully.");
  services_.messages.ShowMessage(kSuccessMessage, kSuccessCaption, kInformationOk);
  services_.close_item.EnableClose(true);
  link_.ClosePort();
}

bool FirmwareUpdater::CheckRevisions() {
  if (!firmware::VerifyFileRevision(image_, file_revision_)) {
    services_.messages.ShowMessage(kFileRevisionMessage, kErrorCaption, kStopOk);
    Fail("Error verifying hex file revision!");
    return false;
  }
  ShowStatus("Verifying hex file revision successfully.");
  if (!firmware::ReadDeviceRevision(link_, device_revision_)) {
    Fail("Error verifying MSR firmware file revision!");
    return false;
  }
  ShowStatus("Verifying MSR firmware file revision successfully.");
  constexpr std::string_view kCompareFailure =
      "Error comparing hex revision and MSR firmware file revision!";
  switch (firmware::CompareRevisions(file_revision_, device_revision_)) {
    case RevisionComparison::kSameOrOlder:
      if (services_.messages.ShowMessage(kSameOrOlderMessage, kWarningCaption, kExclamationYesNo) !=
          answer::kYes) {
        Fail(kCompareFailure);
        return false;
      }
      break;
    case RevisionComparison::kUnsupported:
      services_.messages.ShowMessage(kUnsupportedMessage, kErrorCaption, kStopOk);
      Fail(kCompareFailure);
      return false;
    case RevisionComparison::kUpgrade:
      break;
  }
  ShowStatus("Comparing hex revision and MSR firmware file revision...");
  return true;
}

void FirmwareUpdater::SetRange(int low, int high) {
  if (window_ != nullptr) window_->SetRange(update_id::kProgressBar, low, high);
}

void FirmwareUpdater::SetPosition(int position) {
  if (window_ != nullptr) window_->SetPosition(update_id::kProgressBar, position);
}

void FirmwareUpdater::ShowPlainMessage(std::string_view text) {
  services_.messages.ShowPlainMessage(text, box::kOk);
}

void FirmwareUpdater::ShowStatus(std::string_view text) {
  status_text_ = text;
  if (window_ != nullptr) window_->SetText(update_id::kStatusLine, status_text_);
}

void FirmwareUpdater::Fail(std::string_view failure_text) {
  ShowStatus(std::string(failure_text) + std::string(kTerminated));
  services_.close_item.EnableClose(true);
  link_.ClosePort();
}

}  // namespace pelgar::ui
