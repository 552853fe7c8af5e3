// The enhanced configuration window's buttons that talk to the reader. Each claims the
// reader, does its one job in its own device session and lets the session go.
#include "config/ConfigFile.h"
#include "config/EnhancedSettings.h"
#include "ui/DataExchange.h"
#include "ui/enhanced/EnhancedConfigTemplate.h"
#include "ui/enhanced/EnhancedConfigWindow.h"
#include "ui/main/EnhancedGroup.h"
#include "ui/main/MainWindowIds.h"

namespace pelgar::ui {
namespace {

namespace ids = enhanced_id;

constexpr std::string_view kConfirmReset =
    "Confirm to reset the custom table back to original table?";
constexpr std::string_view kConfirmResetCaption = "Warning!";

}  // namespace

std::unique_ptr<device::DeviceSession> EnhancedConfigWindow::Claim(int disable_on_failure) {
  auto session = ClaimOrReport(env_, messages_, port_texts_);
  if (!session && disable_on_failure != kNoControlId) {
    controls_->Enable(disable_on_failure, false);
  }
  return session;
}

void EnhancedConfigWindow::ShowOperationError() {
  messages_.ShowMessage(EnhancedGroup::kEnhancedFailed, "", box::kOk);
}

void EnhancedConfigWindow::SetDataWrapper() {
  // The wrappers go out as the boxes show them: a text rule that stopped at one box left
  // the other undecoded. A box the decoding refuses, or that holds more than its room,
  // stops here as it stops Enter, before the reader is claimed; so does a pair that
  // outgrows the reader's 14 characters however it got there.
  DataExchange dx{*controls_, messages_};
  if (!TakeData() ||
      !CheckWrapperTotal(dx, ids::kTailBox, head_text_.size(), tail_text_.size(), tail_extra_)) {
    return;
  }
  auto session = Claim(ids::kSetWrapper);
  if (!session) return;
  // Sent whether or not the check boxes are checked: they only unlock the boxes here.
  session->head_text.fill('\0');
  session->tail_text.fill('\0');
  head_text_.copy(session->head_text.data(), session->head_text.size() - 1);
  tail_text_.copy(session->tail_text.data(), session->tail_text.size() - 1);
  if (!session->SetDataWrapper()) ShowOperationError();
  controls_->Enable(ids::kSetWrapper, false);
}

void EnhancedConfigWindow::GetIndividualCR() {
  auto session = Claim(kNoControlId);
  if (!session) return;
  if (!session->GetIndividualCR()) ShowOperationError();
  static_assert(ids::kCrTrack1 == main_id::kCrTrack1 && ids::kCrTrack3 == main_id::kCrTrack3);
  EnhancedGroup::ShowIndividualCR(*controls_, *session);
  controls_->Enable(ids::kSetCr, true);
}

void EnhancedConfigWindow::SetIndividualCR() {
  auto session = Claim(ids::kSetCr);
  if (!session) return;
  config::CrFlags flags;
  flags.track1 = controls_->IsChecked(ids::kCrTrack1);
  flags.track2 = controls_->IsChecked(ids::kCrTrack2);
  flags.track3 = controls_->IsChecked(ids::kCrTrack3);
  // This window has no capital-mode control; setting the flags switches capital mode off.
  session->individual_cr = {flags.track1, flags.track2, flags.track3, 0};
  if (!session->SetIndividualCR()) ShowOperationError();
  // Remembered as tried, whether or not the reader took it.
  remembered_cr_line_ = config::NumberLine(config::kCrByteKey, config::EncodeFileCrByte(flags));
  controls_->Enable(ids::kSetCr, false);
}

void EnhancedConfigWindow::GetWedgeMode() {
  auto session = Claim(kNoControlId);
  if (!session) return;
  if (!session->GetWedgeMode()) ShowOperationError();
  // A code without an entry (0x09 to 0xFE) leaves no selection.
  controls_->Select(ids::kLanguageList, LanguagePosition(session->wedge_language));
}

void EnhancedConfigWindow::SetWedgeMode() {
  auto session = Claim(ids::kSetLanguage);
  if (!session) return;
  // The reader has frames for 0x00, 0x01 and 0xFF only, so positions 2 to 8 send nothing
  // and are reported as failed.
  session->wedge_language = LanguageCode(controls_->Selected(ids::kLanguageList));
  if (!session->SetWedgeMode()) ShowOperationError();
  remembered_language_line_ =
      config::NumberLine(config::kWedgeLanguageKey, session->wedge_language);
  controls_->Enable(ids::kSetLanguage, false);
}

void EnhancedConfigWindow::SetCustomTable() {
  auto session = Claim(ids::kSetCustom);
  if (!session) return;
  session->default_codes.fill('\0');
  session->replacements.fill('\0');
  size_t count = 0;
  for (size_t row = 0; row < kRows; ++row) {
    if ((row_changed_mask_ & RowBit(row)) == 0) continue;
    int position = controls_->Selected(ids::kRowLists[row]);
    uint8_t code = position > 0 ? static_cast<uint8_t>(position + kCharacterCodeOffset) : 0;
    char replacement = replacement_texts_[row].empty() ? '\0' : replacement_texts_[row][0];
    // Both fields are zero-terminated: a pair without a code or a character would end
    // them early and garble the batch.
    if (code == 0 || replacement == '\0') continue;
    session->default_codes[count] = static_cast<char>(code);
    session->replacements[count] = replacement;
    ++count;
  }
  if (!session->SetCustomWedgeTable()) ShowOperationError();
  ClearRows();
  controls_->Enable(ids::kSetCustom, false);
}

void EnhancedConfigWindow::ResetCustomTable() {
  if (messages_.ShowMessage(kConfirmReset, kConfirmResetCaption, box::kYesNo) != answer::kYes) {
    return;
  }
  auto session = Claim(ids::kSetCustom);
  if (!session) return;
  for (int index = config::kResetFirstIndex; index <= config::kResetLastIndex; ++index) {
    session->custom_count = static_cast<uint8_t>(index);
    if (!session->ResetCustomWedgeEntry()) ShowOperationError();
  }
  ClearRows();
  controls_->Enable(ids::kSetCustom, false);
}

}  // namespace pelgar::ui
