// Get Config and Set Config: the configuration record between the reader and the
// controls.
#include <cstring>
#include <string_view>

#include "config/ConfigurationRecord.h"
#include "ui/main/MainWindow.h"
#include "ui/main/MainWindowIds.h"

namespace pelgar::ui {
namespace {

namespace id = main_id;

constexpr std::string_view kSetFailed =
    "Error occurred while applying changes to the MSR configuration.";
constexpr std::string_view kCommitFailed =
    "Error occurred while committing changes to the MSR configuration.";

uint8_t Flag(bool on) { return on ? 1 : 0; }

}  // namespace

void MainWindow::GetConfig() {
  auto session = ClaimReader();
  if (!session) return;
  controls_->SetCheck(id::kSerialMode, session->serial_position == 1);
  controls_->SetCheck(id::kWedgeMode, session->wedge_position == 1);

  if (session->custom_configuration == 1) {
    controls_->SetCheck(id::kCustomConfiguration, true);
    controls_->SetCheck(id::kCarriageReturn, session->carriage_return == 1);
    controls_->SetCheck(id::kRawDataMode, session->raw_data_mode == 1);
    controls_->SetCheck(id::kTrack1, session->track1_enabled == 1);
    controls_->SetCheck(id::kTrack2, session->track2_enabled == 1);
    controls_->SetCheck(id::kTrack3, session->track3_enabled == 1);
    controls_->SetCheck(id::kStripSentinels, session->strip_sentinels == 1);
    controls_->SetCheck(id::kHideErrorTracks, session->hide_error_tracks == 1);
    for (size_t i = 0; i < id::kSentinels.size(); ++i) {
      controls_->SetText(id::kSentinels[i], config::SentinelToText(session->sentinels[i]));
    }
  } else {
    // The reader ignores its record and works in its default setting: show that.
    controls_->SetCheck(id::kCustomConfiguration, false);
    ShowDefaultConfiguration();
    controls_->SetCheck(id::kCarriageReturn, controls_->IsChecked(id::kWedgeMode));
  }

  std::string_view revision(session->revision.data(),
                            strnlen(session->revision.data(), session->revision.size()));
  controls_->SetText(id::kRevision, revision);
  if (config::SupportsEnhancedSettings(revision)) enhanced_capable_ = true;
  // From what the reader stores, even when the default configuration is shown.
  individual_cr_allowed_ = session->carriage_return == 1 ? 0 : 1;

  session.reset();
  ApplyEnableRule();
  controls_->Enable(id::kSetConfig, true);
  controls_->Enable(id::kGetConfig, true);
  controls_->Enable(id::kSaveSettings, true);
}

void MainWindow::SetConfig(int store_mode) {
  if (!settings_.unattended) {
    controls_->Enable(id::kSetConfig, false);
    controls_->Enable(id::kGetConfig, false);
  }
  auto session = ClaimReader();
  if (!session) {
    controls_->Enable(id::kSetConfig, true);
    controls_->Enable(id::kGetConfig, true);
    return;
  }
  session->carriage_return = Flag(controls_->IsChecked(id::kCarriageReturn));
  session->raw_data_mode = Flag(controls_->IsChecked(id::kRawDataMode));
  session->track1_enabled = Flag(controls_->IsChecked(id::kTrack1));
  session->track2_enabled = Flag(controls_->IsChecked(id::kTrack2));
  session->track3_enabled = Flag(controls_->IsChecked(id::kTrack3));
  session->strip_sentinels = Flag(controls_->IsChecked(id::kStripSentinels));
  session->hide_error_tracks = Flag(controls_->IsChecked(id::kHideErrorTracks));
  for (size_t i = 0; i < id::kSentinels.size(); ++i) {
    session->sentinels[i] =
        config::TextToSentinel(controls_->GetText(id::kSentinels[i], kSentinelReadChars));
  }

  session->custom_configuration =
      Flag(controls_->IsChecked(id::kCustomConfiguration) || AskToEnableCustomConfiguration());

  if (!session->SetConfiguration(store_mode)) messages_.ShowMessage(kSetFailed, "", box::kOk);
  // The commit goes out even after a failed set: it stores whatever the reader now holds.
  if (!session->CommitConfiguration()) messages_.ShowMessage(kCommitFailed, "", box::kOk);
  individual_cr_allowed_ = session->carriage_return == 1 ? 0 : 1;

  controls_->Enable(id::kSetConfig, true);
  controls_->Enable(id::kGetConfig, true);
}

}  // namespace pelgar::ui
