#include "ui/main/MainWindow.h"

#include <string_view>
#include <utility>

#include "config/ConfigurationRecord.h"
#include "device/PortText.h"
#include "ui/DataExchange.h"
#include "ui/main/MainWindowIds.h"

namespace pelgar::ui {
namespace {

namespace id = main_id;

constexpr int kOptionIds[] = {id::kRawDataMode,    id::kCarriageReturn, id::kTrack1,
                              id::kTrack2,         id::kTrack3,         id::kStripSentinels,
                              id::kHideErrorTracks};
constexpr std::string_view kEnableCustomQuestion =
    "\"Use Custom Configuration\" is not selected.\n\nChanges to the MSR configuration will be "
    "stored to flash, but will not be used by the MSR until the custom configuration is "
    "enabled.\n\nDo you want to enable it now?";
constexpr std::string_view kEnableCustomCaption = "Enable Custom Configuration?";

bool IsEnhancedGroupControl(int control) {
  return (control >= id::kHeadWrapper && control <= id::kTailText) ||
         (control >= id::kCrTrack1 && control <= id::kCrTrack3) ||
         (control >= id::kAltNumPad && control <= id::kCustomTable);
}

}  // namespace

MainWindow::MainWindow(MessageOutput& messages, device::DeviceEnvironment& env,
                       MainWindowSettings settings)
    : messages_(messages), env_(env), settings_(std::move(settings)), group_(messages, *this) {}

void MainWindow::OnOpening(Controls& controls) {
  controls_ = &controls;
  // The platform's dialog initialisation puts the data into the controls first.
  UpdateData(false);
  // Writing a list's text selects the entry of that text, wherever sorting put it.
  controls_->SetText(id::kPortList, device::kDefaultPortName);
  controls_->SetText(id::kBaudList, device::kDefaultBaud.text);
  if (settings_.unattended) {
    // An unattended run never waits for a user; without a runner there is nothing to do.
    int status = hooks_.unattended_run ? hooks_.unattended_run(*this) : 1;
    controls_->Close(status);
    return;
  }
  controls_->ActivateToolTips(kToolTipWidthPx);
  controls_->Enable(id::kEnhancedSet, false);
  controls_->SetCheck(id::kSerialMode, true);
  controls_->SetCheck(id::kCustomConfiguration, false);
  controls_->SetCheck(id::kCarriageReturn, false);
  ShowDefaultConfiguration();
  controls_->SetCheck(id::kUsa, true);
  ApplyEnableRule();
}

void MainWindow::OnControl(int control, Notification notification) {
  switch (notification) {
    case Notification::kClicked:
      OnClicked(control);
      break;
    case Notification::kChanged:
      if (control >= id::kSentinel1 && control <= id::kEndSentinel) {
        ChangeRule();
      } else {
        group_.OnControl(control, notification);
      }
      break;
    case Notification::kMenuCommand:
      if (control == id::kAboutCommand) ShowAbout();
      if (control == id::kEnhancedWindowCommand) OpenEnhancedConfiguration();
      break;
    case Notification::kSelectionChanged:
      break;
  }
}

void MainWindow::OnClicked(int control) {
  switch (control) {
    case id::kGetConfig:
      GetConfig();
      return;
    case id::kSetConfig:
      SetConfig(kStoreToFlash);
      return;
    case id::kSetConfigTemporary:
      SetConfig(kStoreToTemporaryMemory);
      return;
    case id::kSaveSettings:
      if (hooks_.save_configuration) hooks_.save_configuration(*this);
      return;
    case id::kLoadConfig:
      if (hooks_.load_configuration) hooks_.load_configuration(*this);
      return;
    case id::kEnhancedWindow:
      OpenEnhancedConfiguration();
      return;
    case id::kFirmwareUpdate:
      OpenFirmwareUpdate();
      return;
    case id::kCustomConfiguration:
      UseCustomConfigRule();
      return;
    case id::kRawDataMode:
    case id::kCarriageReturn:
    case id::kTrack1:
    case id::kTrack2:
    case id::kTrack3:
    case id::kStripSentinels:
    case id::kHideErrorTracks:
      ChangeRule();
      return;
    case id::kWedgeMode:
    case id::kSerialMode:
      IndicatorRule(control);
      return;
    case kIdOk:
      OnOk();
      return;
    case kIdCancel:
      controls_->Close(kIdCancel);
      return;
    default:
      if (IsEnhancedGroupControl(control) || control == id::kEnhancedGet ||
          control == id::kEnhancedSet) {
        group_.OnControl(control, Notification::kClicked);
      }
      return;
  }
}

void MainWindow::OnOk() {
  if (UpdateData(true)) controls_->Close(kIdOk);
}

bool MainWindow::UpdateData(bool save_and_validate) {
  DataExchange dx{*controls_, messages_, save_and_validate};
  if (!group_.Exchange(dx)) return false;
  for (int sentinel : id::kSentinels) {
    size_t length = save_and_validate ? controls_->GetText(sentinel, std::string::npos).size() : 0;
    if (!ExchangeMaxChars(dx, sentinel, length, kSentinelChars)) return false;
  }
  return true;
}

void MainWindow::ApplyEnableRule() {
  bool custom = controls_->IsChecked(id::kCustomConfiguration);
  for (int option : kOptionIds) controls_->Enable(option, custom);
  for (int sentinel : id::kSentinels) controls_->Enable(sentinel, custom);
  controls_->Enable(id::kCustomConfiguration, true);
}

void MainWindow::ShowDefaultConfiguration() {
  const config::ConfigurationRecord defaults = config::DefaultConfiguration(false);
  controls_->SetCheck(id::kRawDataMode, defaults.raw_data_mode);
  controls_->SetCheck(id::kTrack1, defaults.track1_enabled);
  controls_->SetCheck(id::kTrack2, defaults.track2_enabled);
  controls_->SetCheck(id::kTrack3, defaults.track3_enabled);
  controls_->SetCheck(id::kStripSentinels, defaults.strip_sentinels);
  controls_->SetCheck(id::kHideErrorTracks, defaults.hide_error_tracks);
  for (size_t i = 0; i < id::kSentinels.size(); ++i) {
    controls_->SetText(id::kSentinels[i], config::SentinelToText(defaults.sentinels[i]));
  }
}

bool MainWindow::AskToEnableCustomConfiguration() {
  if (messages_.ShowMessage(kEnableCustomQuestion, kEnableCustomCaption,
                            box::kYesNo | box::kIconInformation) != answer::kYes) {
    return false;
  }
  controls_->SetCheck(id::kCustomConfiguration, true);
  return true;
}

void MainWindow::ChangeRule() {
  controls_->Enable(id::kSetConfig, true);
  controls_->Enable(id::kSaveSettings, true);
}

void MainWindow::UseCustomConfigRule() {
  ChangeRule();
  if (!controls_->IsChecked(id::kCustomConfiguration)) {
    // The reader will use its default setting for the slide switch position: show it.
    ShowDefaultConfiguration();
    controls_->SetCheck(id::kCarriageReturn, controls_->IsChecked(id::kWedgeMode));
  }
  ApplyEnableRule();
}

void MainWindow::IndicatorRule(int indicator) {
  // The indicators show the reader's slide switch; a click must not change them, so undo
  // the toggle that the click has already made.
  controls_->SetCheck(indicator, !controls_->IsChecked(indicator));
}

PortTexts MainWindow::ListTexts() const {
  return {controls_->GetText(id::kPortList, kPortTextChars),
          controls_->GetText(id::kBaudList, kPortTextChars)};
}

PortTexts MainWindow::port_texts() const {
  if (settings_.unattended) return {settings_.port_name, settings_.baud_text};
  return ListTexts();
}

std::unique_ptr<device::DeviceSession> MainWindow::ClaimReader() {
  return ClaimOrReport(env_, messages_, port_texts(), &last_claim_failure_);
}

void MainWindow::OpenEnhancedConfiguration() {
  if (hooks_.enhanced_window) hooks_.enhanced_window(ListTexts(), individual_cr_allowed_);
}

void MainWindow::OpenFirmwareUpdate() {
  if (hooks_.firmware_update) hooks_.firmware_update(ListTexts());
}

void MainWindow::ShowAbout() {
  if (hooks_.about_box) hooks_.about_box();
}

}  // namespace pelgar::ui
