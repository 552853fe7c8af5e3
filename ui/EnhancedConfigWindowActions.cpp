// The enhanced configuration window's buttons that talk to the reader. Each claims the
// reader, does its one job in its own device session and lets the session go.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "config/EnhancedSettings.h"
#include "ui/EnhancedConfigTemplate.h"
#include "ui/EnhancedConfigWindow.h"

namespace pelgar::ui {
namespace {

namespace ids = enhanced_ids;

constexpr std::string_view kNotClaimed =
    "The MSR has not been claimed by the application.  Please be sure the COM port is not "
    "claimed by other applications.";
constexpr std::string_view kNotClaimedCaption = "Error!";
constexpr std::string_view kOperationFailed =
    "Error occurred while applying changes to the MSR enhanced configuration.";
constexpr std::string_view kConfirmReset =
    "Confirm to reset the custom table back to original table?";
constexpr std::string_view kConfirmResetCaption = "Warning!";

// The list has no entry for the reader's custom table code 0xFF; its "Custom Table" entry
// stands for it when the language is set.
constexpr int kCustomTablePosition = 9;
// The port text names the device from its fourth character on ("COM3" gives "3").
constexpr size_t kPortIdOffset = 3;

// The baud text read as a decimal number, the way atoi reads it: blanks, a sign, digits;
// 0 when there are none. Never overflows.
int32_t BaudFromText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t kMax = 0x7FFFFFFF;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = std::min(kMax, value * 10 + (text[i] - '0'));
  }
  return static_cast<int32_t>(negative ? -value : value);
}

std::string HexLine(const char* prefix, uint8_t value) {
  char line[8];
  std::snprintf(line, sizeof line, "%s%02X", prefix, static_cast<unsigned>(value));
  return line;
}

}  // namespace

std::unique_ptr<device::DeviceSession> EnhancedConfigWindow::Claim() {
  std::string_view port(port_text_);
  std::string_view port_id = port.size() > kPortIdOffset ? port.substr(kPortIdOffset) : "";
  auto session = device::ClaimReader(env_, port_id, BaudFromText(baud_text_));
  if (!session) messages_.ShowMessage(kNotClaimed, kNotClaimedCaption, box::kOk);
  return session;
}

void EnhancedConfigWindow::ShowOperationError() {
  messages_.ShowMessage(kOperationFailed, "", box::kOk);
}

void EnhancedConfigWindow::SetDataWrapper() {
  // The window keeps the sum within 14 while the user types, except where a box has no
  // room left at all; such a pair was reported when typed and is not sent.
  size_t head_length = strnlen(head_text_.data(), head_text_.size());
  size_t tail_length = strnlen(tail_text_.data(), tail_text_.size());
  if (!config::WrapperLengthsFit(head_length, tail_length)) {
    bool head_over = head_length > static_cast<size_t>(head_budget_);
    int box = head_over ? ids::kHeadBox : ids::kTailBox;
    ShowTooLong(box, head_over ? head_budget_ + head_extra_ : tail_budget_ + tail_extra_);
    return;
  }
  auto session = Claim();
  if (!session) {
    controls_->Enable(ids::kSetWrapper, false);
    return;
  }
  // Sent whether or not the check boxes are checked: they only unlock the boxes here.
  session->head_text.fill('\0');
  session->tail_text.fill('\0');
  std::memcpy(session->head_text.data(), head_text_.data(), head_length);
  std::memcpy(session->tail_text.data(), tail_text_.data(), tail_length);
  if (!session->SetDataWrapper()) ShowOperationError();
  controls_->Enable(ids::kSetWrapper, false);
}

void EnhancedConfigWindow::GetIndividualCr() {
  auto session = Claim();
  if (!session) return;
  if (!session->GetIndividualCR()) ShowOperationError();
  controls_->SetCheck(ids::kCrTrack1, session->individual_cr[0] == 1);
  controls_->SetCheck(ids::kCrTrack2, session->individual_cr[1] == 1);
  controls_->SetCheck(ids::kCrTrack3, session->individual_cr[2] == 1);
  controls_->Enable(ids::kSetCr, true);
}

void EnhancedConfigWindow::SetIndividualCr() {
  auto session = Claim();
  if (!session) {
    controls_->Enable(ids::kSetCr, false);
    return;
  }
  config::CrFlags flags;
  flags.track1 = controls_->IsChecked(ids::kCrTrack1);
  flags.track2 = controls_->IsChecked(ids::kCrTrack2);
  flags.track3 = controls_->IsChecked(ids::kCrTrack3);
  // This window has no capital-mode control; setting the flags switches capital mode off.
  session->individual_cr = {flags.track1, flags.track2, flags.track3, 0};
  if (!session->SetIndividualCR()) ShowOperationError();
  // Remembered as tried, whether or not the reader took it.
  remembered_cr_line_ = HexLine("13:", config::EncodeFileCrByte(flags));
  controls_->Enable(ids::kSetCr, false);
}

void EnhancedConfigWindow::GetWedgeMode() {
  auto session = Claim();
  if (!session) return;
  if (!session->GetWedgeMode()) ShowOperationError();
  // A code without an entry (0x0A and above, 0xFF among them) leaves no selection.
  uint8_t code = session->wedge_language;
  controls_->Select(ids::kLanguageList, code < kLanguageCount ? code : -1);
}

void EnhancedConfigWindow::SetWedgeMode() {
  auto session = Claim();
  if (!session) {
    controls_->Enable(ids::kSetLanguage, false);
    return;
  }
  // The position is the code. The reader has frames for 0x00, 0x01 and 0xFF only, so
  // positions 2 to 8 send nothing and are reported as failed; no selection gives 0xFF.
  int position = controls_->Selected(ids::kLanguageList);
  session->wedge_language = position == kCustomTablePosition
                                ? config::kWedgeLanguageCustomTable
                                : static_cast<uint8_t>(position & 0xFF);
  if (!session->SetWedgeMode()) ShowOperationError();
  remembered_language_line_ = HexLine("15:", session->wedge_language);
  controls_->Enable(ids::kSetLanguage, false);
}

void EnhancedConfigWindow::SetCustomTable() {
  auto session = Claim();
  if (!session) {
    controls_->Enable(ids::kSetCustom, false);
    return;
  }
  session->default_codes.fill('\0');
  session->replacements.fill('\0');
  size_t count = 0;
  for (int row = 0; row < kRows; ++row) {
    if ((row_changed_mask_ & (1u << (row + 1))) == 0) continue;
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
  auto session = Claim();
  if (!session) {
    controls_->Enable(ids::kSetCustom, false);
    return;
  }
  for (int index = config::kResetFirstIndex; index <= config::kResetLastIndex; ++index) {
    session->custom_count = static_cast<uint8_t>(index);
    if (!session->ResetCustomWedgeEntry()) ShowOperationError();
  }
  ClearRows();
  controls_->Enable(ids::kSetCustom, false);
}

}  // namespace pelgar::ui
