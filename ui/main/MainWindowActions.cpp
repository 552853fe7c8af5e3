// Get Config and Set Config: the configuration record between the reader and the
// controls.
#include <string_view>

#include "config/ConfigurationRecord.h"
#include "config/FixedText.h"
#include "ui/main/MainWindow.h"
#include "ui/main/MainWindowIds.h"

namespace pelgar::ui {
namespace {

namespace id = main_id;

constexpr std::string_view kSetFailed =
    "Error occurred while applying changes to the MSR configuration.";
constexpr std::string_view kCommitFailed =
    "Error occurred while committing changes to the MSR configuration.";

}  // namespace

void MainWindow::GetConfig() {
  auto session = ClaimReader();
  if (!session) return;
  controls_->SetCheck(id::kSerialMode, device::IsOn(session->serial_position));
  controls_->SetCheck(id::kWedgeMode, device::IsOn(session->wedge_position));

  if (device::IsOn(session->custom_configuration)) {
    controls_->SetCheck(id::kCustomConfiguration, true);
    controls_->SetCheck(id::kCarriageReturn, device::IsOn(session->carriage_return));
    controls_->SetCheck(id::kRawDataMode, device::IsOn(session->raw_data_mode));
    controls_->SetCheck(id::kTrack1, device::IsOn(session->track1_enabled));
    controls_->SetCheck(id::kTrack2, device::IsOn(session->track2_enabled));
    controls_->SetCheck(id::kTrack3, device::IsOn(session->track3_enabled));
    controls_->SetCheck(id::kStripSentinels, device::IsOn(session->strip_sentinels));
    controls_->SetCheck(id::kHideErrorTracks, device::IsOn(session->hide_error_tracks));
    for (size_t i = 0; i < id::kSentinels.size(); ++i) {
      controls_->SetText(id::kSentinels[i], config::SentinelToText(session->sentinels[i]));
    }
  } else {
    // The reader ignores its record and works in its default setting: show that.
    controls_->SetCheck(id::kCustomConfiguration, false);
    ShowDefaultConfiguration();
    controls_->SetCheck(id::kCarriageReturn, controls_->IsChecked(id::kWedgeMode));
  }

  std::string_view revision = config::FieldText(session->revision);
  controls_->SetText(id::kRevision, revision);
  if (config::SupportsEnhancedSettings(revision)) enhanced_capable_ = true;
  // From what the reader stores, even when the default configuration is shown.
  individual_cr_allowed_ = !device::IsOn(session->carriage_return);

  session.reset();
  ApplyEnableRule();
  controls_->Enable(id::kSetConfig, true);
  controls_->Enable(id::kGetConfig, true);
  controls_->Enable(id::kSaveSettings, true);
}

bool MainWindow::SetConfig(int store_mode) {
  if (!settings_.unattended) {
    controls_->Enable(id::kSetConfig, false);
    controls_->Enable(id::kGetConfig, false);
  }
  auto session = ClaimReader();
  if (!session) {
    controls_->Enable(id::kSetConfig, true);
    controls_->Enable(id::kGetConfig, true);
    return false;
  }
  session->carriage_return = device::ToFlag(controls_->IsChecked(id::kCarriageReturn));
  session->raw_data_mode = device::ToFlag(controls_->IsChecked(id::kRawDataMode));
  session->track1_enabled = device::ToFlag(controls_->IsChecked(id::kTrack1));
  session->track2_enabled = device::ToFlag(controls_->IsChecked(id::kTrack2));
  session->track3_enabled = device::ToFlag(controls_->IsChecked(id::kTrack3));
  session->strip_sentinels = device::ToFlag(controls_->IsChecked(id::kStripSentinels));
  session->hide_error_tracks = device::ToFlag(controls_->IsChecked(id::kHideErrorTracks));
  for (size_t i = 0; i < id::kSentinels.size(); ++i) {
    session->sentinels[i] =
        config::TextToSentinel(controls_->GetText(id::kSentinels[i], kSentinelReadChars));
  }

  session->custom_configuration = device::ToFlag(controls_->IsChecked(id::kCustomConfiguration) ||
                                                 AskToEnableCustomConfiguration());

  const bool set = session->SetConfiguration(store_mode);
  if (!set) messages_.ShowMessage(kSetFailed, "", box::kOk);
  // The commit goes out even after a failed set: it stores whatever the reader now holds.
  const bool committed = session->CommitConfiguration();
  if (!committed) messages_.ShowMessage(kCommitFailed, "", box::kOk);
  individual_cr_allowed_ = !device::IsOn(session->carriage_return);

  controls_->Enable(id::kSetConfig, true);
  controls_->Enable(id::kGetConfig, true);
  return set && committed;
}

}  // namespace pelgar::ui
