// The enhanced configuration window: its lifetime, data exchange and the rules that run
// while the user types. The buttons that talk to the reader are in
// EnhancedConfigWindowActions.cpp.
#include "ui/EnhancedConfigWindow.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "config/EnhancedSettings.h"
#include "device/WrapperText.h"
#include "ui/EnhancedConfigTemplate.h"

namespace pelgar::ui {
namespace {

namespace ids = enhanced_ids;

constexpr int kToolTipWidthPx = 320;
// Replacement boxes are read a little beyond their one character, so that a longer text
// is reported rather than silently cut.
constexpr size_t kReplacementReadMax = 9;
constexpr std::string_view kTooLongFormat = "Please enter no more than %1 characters.";

int RowOf(const std::array<int, 7>& row_ids, int id) {
  auto found = std::find(row_ids.begin(), row_ids.end(), id);
  return found == row_ids.end() ? -1 : static_cast<int>(found - row_ids.begin());
}

uint8_t RowBit(int row) { return static_cast<uint8_t>(1u << (row + 1)); }

size_t TextLength(const std::array<char, EnhancedConfigWindow::kWrapperTextSize>& text) {
  return strnlen(text.data(), text.size());
}

// The value of a remembered "13:XX" or "15:XX" line: the two characters after the colon
// as a hexadecimal number; an empty or unreadable line reads as 0.
uint8_t RememberedValue(const std::string& line) {
  constexpr size_t kValueAt = 3;
  if (line.size() <= kValueAt) return 0;
  unsigned value = 0;
  const char* first = line.data() + kValueAt;
  const char* last = line.data() + std::min(line.size(), kValueAt + 2);
  std::from_chars(first, last, value, 16);
  return static_cast<uint8_t>(value);
}

}  // namespace

EnhancedConfigWindow::EnhancedConfigWindow(device::DeviceEnvironment& env, MessageOutput& messages)
    : env_(env), messages_(messages) {}

EnhancedConfigWindow::~EnhancedConfigWindow() = default;

void EnhancedConfigWindow::SetPortAndBaud(std::string_view port_text, std::string_view baud_text) {
  port_text_ = std::string(port_text.substr(0, kPortTextMax));
  baud_text_ = std::string(baud_text.substr(0, kPortTextMax));
}

void EnhancedConfigWindow::SetIndividualCrAllowed(bool carriage_return_off) {
  individual_cr_allowed_ = carriage_return_off ? 1 : 0;
}

int EnhancedConfigWindow::Open(DialogHost& host) {
  return host.RunModal(EnhancedConfigTemplate(), *this);
}

void EnhancedConfigWindow::OnOpening(Controls& controls) {
  controls_ = &controls;
  // The rows always open as " - None -" with empty boxes. A row filled but not sent before
  // the window was closed is dropped here, so it cannot ride along, unseen and without a
  // character code, in the next batch.
  for (std::string& text : replacement_texts_) text.clear();
  row_changed_mask_ = 0;
  const std::string head = config::FormatWrapperText(head_text());
  const std::string tail = config::FormatWrapperText(tail_text());

  PutData();
  if (individual_cr_allowed_ == 1) {
    for (int id : {ids::kCrTrack1, ids::kCrTrack2, ids::kCrTrack3, ids::kGetCr}) {
      controls.Enable(id, true);
    }
  }
  for (int id : {ids::kSetWrapper, ids::kHeadBox, ids::kTailBox, ids::kSetCr, ids::kSetLanguage,
                 ids::kSetCustom}) {
    controls.Enable(id, false);
  }
  controls.Select(ids::kLanguageList, 0);
  for (int row = 0; row < kRows; ++row) {
    controls.Enable(ids::kRowBoxes[row], false);
    controls.Select(ids::kRowLists[row], 0);
  }
  // "Set Data Wrapper" sends the wrappers last decoded here even when their boxes are
  // unchecked, so the boxes show them again instead of opening empty.
  ShowRememberedWrappers(head, tail);
  controls.ActivateToolTips(kToolTipWidthPx);

  TakeData();
  uint8_t cr = RememberedValue(remembered_cr_line_);
  controls.SetCheck(ids::kCrTrack1, (cr & config::kCrTrack1Bit) != 0);
  controls.SetCheck(ids::kCrTrack2, (cr & config::kCrTrack2Bit) != 0);
  controls.SetCheck(ids::kCrTrack3, (cr & config::kCrTrack3Bit) != 0);
  uint8_t language = RememberedValue(remembered_language_line_);
  controls.Select(ids::kLanguageList, language < kLanguageCount ? language : -1);
  PutData();
}

void EnhancedConfigWindow::ShowRememberedWrappers(const std::string& head,
                                                  const std::string& tail) {
  // Each write runs the text rule, which decodes the box into its wrapper again; the
  // check box goes on afterwards so that "Set Data Wrapper" stays disabled until the user
  // changes something.
  const struct {
    const std::string& text;
    int check;
    int box;
  } wrappers[] = {{head, ids::kHeadCheck, ids::kHeadBox}, {tail, ids::kTailCheck, ids::kTailBox}};
  for (const auto& wrapper : wrappers) {
    if (wrapper.text.empty()) continue;
    controls_->SetText(wrapper.box, wrapper.text);
    controls_->SetCheck(wrapper.check, true);
    controls_->Enable(wrapper.box, true);
  }
}

void EnhancedConfigWindow::OnClosed() { controls_ = nullptr; }

void EnhancedConfigWindow::OnControl(int id, Notification notification) {
  if (controls_ == nullptr) return;
  switch (notification) {
    case Notification::kClicked:
      OnClicked(id);
      break;
    case Notification::kChanged:
      if (id == ids::kHeadBox || id == ids::kTailBox) {
        OnWrapperTextChanged(id == ids::kHeadBox);
      } else if (int row = RowOf(ids::kRowBoxes, id); row >= 0) {
        OnReplacementChanged(row);
      }
      break;
    case Notification::kSelectionChanged:
      if (id == ids::kLanguageList) {
        controls_->Enable(ids::kSetLanguage, true);
      } else if (int row = RowOf(ids::kRowLists, id); row >= 0) {
        OnRowSelectionChanged(row);
      }
      break;
    case Notification::kMenuCommand:
      break;
  }
}

void EnhancedConfigWindow::OnClicked(int id) {
  switch (id) {
    case kIdOk:
      // Enter: close only when every box holds acceptable text.
      if (TakeData()) controls_->Close(kIdOk);
      break;
    case kIdCancel:  // also the "Return" button
      controls_->Close(kIdCancel);
      break;
    case ids::kHeadCheck:
    case ids::kTailCheck:
      OnWrapperCheckClicked(id == ids::kHeadCheck);
      break;
    case ids::kCrTrack1:
    case ids::kCrTrack2:
    case ids::kCrTrack3:
      controls_->Enable(ids::kSetCr, true);
      break;
    case ids::kSetWrapper:
      SetDataWrapper();
      break;
    case ids::kGetCr:
      GetIndividualCr();
      break;
    case ids::kSetCr:
      SetIndividualCr();
      break;
    case ids::kGetLanguage:
      GetWedgeMode();
      break;
    case ids::kSetLanguage:
      SetWedgeMode();
      break;
    case ids::kSetCustom:
      SetCustomTable();
      break;
    case ids::kResetCustom:
      ResetCustomTable();
      break;
    default:
      break;
  }
}

bool EnhancedConfigWindow::TakeData() {
  if (!TakeWrapper(ids::kHeadBox, head_text_, head_extra_, head_budget_)) return false;
  if (!TakeWrapper(ids::kTailBox, tail_text_, tail_extra_, tail_budget_)) return false;
  for (int row = 0; row < kRows; ++row) {
    int box = ids::kRowBoxes[row];
    replacement_texts_[row] = controls_->GetText(box, kReplacementReadMax);
    if (replacement_texts_[row].size() > kReplacementMax) {
      ShowTooLong(box, static_cast<int>(kReplacementMax));
      return false;
    }
  }
  return true;
}

bool EnhancedConfigWindow::TakeWrapper(int box, WrapperText& text, int& extra, int budget) {
  // The wrapper is always the decoding of what its box holds now.
  text.fill('\0');
  int32_t extra_count = 0;
  bool decoded =
      device::DecodeWrapperText(controls_->GetText(box, kWrapperBoxMax), text, extra_count);
  extra = extra_count;
  if (!decoded) {
    messages_.ShowPlainMessage(device::kWrapperEscapeHelp, box::kOk, 0);
    controls_->Focus(box);
    return false;
  }
  if (static_cast<int>(TextLength(text)) > budget + extra) {
    ShowTooLong(box, budget + extra);
    return false;
  }
  return true;
}

void EnhancedConfigWindow::ShowTooLong(int box, int max_chars) {
  std::string text(kTooLongFormat);
  text.replace(text.find("%1"), 2, std::to_string(max_chars));
  messages_.ShowPlainMessage(text, box::kIconExclamation, 0);
  controls_->Focus(box);
}

void EnhancedConfigWindow::PutData() {
  // A limit of 0 would mean the platform's default, so a box with no room left keeps a
  // limit of 0 and the exchange reports any character typed into it.
  controls_->SetLimit(ids::kHeadBox, static_cast<size_t>(std::max(0, head_budget_ + head_extra_)));
  controls_->SetLimit(ids::kTailBox, static_cast<size_t>(std::max(0, tail_budget_ + tail_extra_)));
  for (int row = 0; row < kRows; ++row) {
    int box = ids::kRowBoxes[row];
    // Written only when different: writing raises the box's change notification.
    if (controls_->GetText(box, kReplacementReadMax) != replacement_texts_[row]) {
      controls_->SetText(box, replacement_texts_[row]);
    }
    controls_->SetLimit(box, kReplacementMax);
  }
}

void EnhancedConfigWindow::OnWrapperCheckClicked(bool head) {
  int box = head ? ids::kHeadBox : ids::kTailBox;
  if (controls_->IsChecked(head ? ids::kHeadCheck : ids::kTailCheck)) {
    controls_->Enable(box, true);
    controls_->Enable(ids::kSetWrapper, true);
  } else {
    controls_->Enable(box, false);  // its text stays, and is still sent
  }
  // The other wrapper's room follows this wrapper's text, which unchecking keeps; giving
  // it the whole 14 would let the two together outgrow what the reader takes.
  if (head) {
    tail_budget_ = static_cast<int>(config::WrapperBudget(TextLength(head_text_)));
  } else {
    head_budget_ = static_cast<int>(config::WrapperBudget(TextLength(tail_text_)));
  }
  PutData();
}

void EnhancedConfigWindow::OnWrapperTextChanged(bool head) {
  WrapperText& text = head ? head_text_ : tail_text_;
  text.fill('\0');
  if (controls_->IsChecked(head ? ids::kHeadCheck : ids::kTailCheck)) {
    controls_->Enable(ids::kSetWrapper, true);
  }
  // A refused text has been reported; the budgets still follow what was decoded.
  TakeData();
  int budget = static_cast<int>(config::WrapperBudget(TextLength(text)));
  (head ? tail_budget_ : head_budget_) = budget;
  PutData();
}

void EnhancedConfigWindow::OnRowSelectionChanged(int row) {
  TakeData();
  int box = ids::kRowBoxes[row];
  if (controls_->Selected(ids::kRowLists[row]) <= 0) {
    replacement_texts_[row].clear();  // emptying the box below runs its change rule
    controls_->Enable(box, false);
  } else {
    controls_->Enable(box, true);
  }
  PutData();
}

void EnhancedConfigWindow::OnReplacementChanged(int row) {
  TakeData();
  if (replacement_texts_[row].empty()) {
    row_changed_mask_ &= static_cast<uint8_t>(~RowBit(row));
  } else {
    row_changed_mask_ |= RowBit(row);
  }
  controls_->Enable(ids::kSetCustom, row_changed_mask_ != 0);
  PutData();
}

void EnhancedConfigWindow::ClearRows() {
  for (int list : ids::kRowLists) controls_->Select(list, 0);
  // One box at a time: emptying a box runs its change rule, which takes the data again and
  // would give the members of the boxes not yet emptied their texts back.
  for (int row = 0; row < kRows; ++row) {
    replacement_texts_[row].clear();
    if (!controls_->GetText(ids::kRowBoxes[row], kReplacementReadMax).empty()) {
      controls_->SetText(ids::kRowBoxes[row], "");
    }
  }
  PutData();
  row_changed_mask_ = 0;
  for (int box : ids::kRowBoxes) controls_->Enable(box, false);
}

}  // namespace pelgar::ui
