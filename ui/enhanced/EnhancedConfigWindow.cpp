// The enhanced configuration window: its lifetime, data exchange and the rules that run
// while the user types. The buttons that talk to the reader are in
// EnhancedConfigWindowActions.cpp.
#include "ui/enhanced/EnhancedConfigWindow.h"

#include <algorithm>
#include <optional>

#include "config/ConfigFile.h"
#include "config/EnhancedSettings.h"
#include "config/WrapperText.h"
#include "ui/DataExchange.h"
#include "ui/enhanced/EnhancedConfigTemplate.h"

namespace pelgar::ui {
namespace {

namespace ids = enhanced_id;

// Replacement boxes are read a little beyond their one character, so that a longer text
// is reported rather than silently cut.
constexpr size_t kReplacementReadMax = 9;

std::optional<size_t> RowOf(const std::array<int, 7>& row_ids, int id) {
  auto found = std::find(row_ids.begin(), row_ids.end(), id);
  if (found == row_ids.end()) return std::nullopt;
  return static_cast<size_t>(found - row_ids.begin());
}

}  // namespace

EnhancedConfigWindow::EnhancedConfigWindow(device::DeviceEnvironment& env, MessageOutput& messages)
    : env_(env), messages_(messages) {}

EnhancedConfigWindow::~EnhancedConfigWindow() = default;

void EnhancedConfigWindow::SetPortTexts(const PortTexts& texts) {
  port_texts_.port = texts.port.substr(0, kPortTextChars);
  port_texts_.baud = texts.baud.substr(0, kPortTextChars);
}

void EnhancedConfigWindow::SetIndividualCrAllowed(bool allowed) {
  individual_cr_allowed_ = allowed;
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
  const std::string head = config::FormatWrapperText(head_text_);
  const std::string tail = config::FormatWrapperText(tail_text_);

  PutData();
  if (individual_cr_allowed_) {
    for (int id : {ids::kCrTrack1, ids::kCrTrack2, ids::kCrTrack3, ids::kGetCr}) {
      controls.Enable(id, true);
    }
  }
  for (int id : {ids::kSetWrapper, ids::kHeadBox, ids::kTailBox, ids::kSetCr, ids::kSetLanguage,
                 ids::kSetCustom}) {
    controls.Enable(id, false);
  }
  controls.Select(ids::kLanguageList, 0);
  for (size_t row = 0; row < kRows; ++row) {
    controls.Enable(ids::kRowBoxes[row], false);
    controls.Select(ids::kRowLists[row], 0);
  }
  // "Set Data Wrapper" sends the wrappers last decoded here even when their boxes are
  // unchecked, so the boxes show them again instead of opening empty.
  ShowRememberedWrappers(head, tail);
  controls.ActivateToolTips(kToolTipWidthPx);

  TakeData();
  uint8_t cr = config::NumberLineValue(remembered_cr_line_);
  controls.SetCheck(ids::kCrTrack1, (cr & config::kCrTrack1Bit) != 0);
  controls.SetCheck(ids::kCrTrack2, (cr & config::kCrTrack2Bit) != 0);
  controls.SetCheck(ids::kCrTrack3, (cr & config::kCrTrack3Bit) != 0);
  uint8_t language = config::NumberLineValue(remembered_language_line_);
  controls.Select(ids::kLanguageList, LanguagePosition(language));
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
      } else if (std::optional<size_t> row = RowOf(ids::kRowBoxes, id)) {
        OnReplacementChanged(*row);
      }
      break;
    case Notification::kSelectionChanged:
      if (id == ids::kLanguageList) {
        controls_->Enable(ids::kSetLanguage, true);
      } else if (std::optional<size_t> row = RowOf(ids::kRowLists, id)) {
        OnRowSelectionChanged(*row);
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
      GetIndividualCR();
      break;
    case ids::kSetCr:
      SetIndividualCR();
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

bool EnhancedConfigWindow::UpdateData(bool save_and_validate) {
  DataExchange dx{*controls_, messages_, save_and_validate};
  return ExchangeWrappers(dx) && ExchangeRows(dx);
}

bool EnhancedConfigWindow::UpdateRows(bool save_and_validate) {
  DataExchange dx{*controls_, messages_, save_and_validate};
  return ExchangeRows(dx);
}

bool EnhancedConfigWindow::ExchangeWrappers(DataExchange& dx) {
  // Each wrapper box may hold its budget plus what its escapes add.
  return ExchangeWrapperBox(dx, ids::kHeadBox, head_text_, head_extra_, head_budget_) &&
         ExchangeWrapperBox(dx, ids::kTailBox, tail_text_, tail_extra_, tail_budget_);
}

bool EnhancedConfigWindow::ExchangeRows(DataExchange& dx) {
  for (size_t row = 0; row < kRows; ++row) {
    int box = ids::kRowBoxes[row];
    std::string& text = replacement_texts_[row];
    if (dx.save_and_validate) {
      text = controls_->GetText(box, kReplacementReadMax);
    } else if (controls_->GetText(box, kReplacementReadMax) != text) {
      // Written only when different: writing raises the box's change notification.
      controls_->SetText(box, text);
    }
    if (!ExchangeMaxChars(dx, box, text.size(), kReplacementMax)) return false;
  }
  return true;
}

void EnhancedConfigWindow::EnableWrapperBox(bool head) {
  // A box with no room left takes no typing: its typing limit would be 0, which the
  // platform reads as no limit at all.
  size_t budget = head ? head_budget_ : tail_budget_;
  controls_->Enable(head ? ids::kHeadBox : ids::kTailBox,
                    budget > 0 && controls_->IsChecked(head ? ids::kHeadCheck : ids::kTailCheck));
}

void EnhancedConfigWindow::OnWrapperCheckClicked(bool head) {
  // Unchecked, the box is disabled, but its text stays and is still sent.
  if (controls_->IsChecked(head ? ids::kHeadCheck : ids::kTailCheck)) {
    controls_->Enable(ids::kSetWrapper, true);
  }
  EnableWrapperBox(head);
  // The other wrapper's room follows this wrapper's text, which unchecking keeps; giving
  // it the whole 14 would let the two together outgrow what the reader takes.
  if (head) {
    tail_budget_ = config::WrapperBudget(head_text_.size());
  } else {
    head_budget_ = config::WrapperBudget(tail_text_.size());
  }
  PutData();
}

void EnhancedConfigWindow::OnWrapperTextChanged(bool head) {
  std::string& text = head ? head_text_ : tail_text_;
  text.clear();
  if (controls_->IsChecked(head ? ids::kHeadCheck : ids::kTailCheck)) {
    controls_->Enable(ids::kSetWrapper, true);
  }
  // A refused text has been reported; the budgets still follow what was decoded.
  TakeData();
  (head ? tail_budget_ : head_budget_) = config::WrapperBudget(text.size());
  EnableWrapperBox(!head);
  PutData();
}

// The custom rows exchange only their own boxes. Taking the whole window's data would stop
// at a wrapper box the decoding refuses, before the rows, and putting it back would then
// write the row's old text over what the user just typed there.
void EnhancedConfigWindow::OnRowSelectionChanged(size_t row) {
  UpdateRows(true);
  int box = ids::kRowBoxes[row];
  if (controls_->Selected(ids::kRowLists[row]) <= 0) {
    replacement_texts_[row].clear();  // emptying the box below runs its change rule
    controls_->Enable(box, false);
  } else {
    controls_->Enable(box, true);
  }
  UpdateRows(false);
}

void EnhancedConfigWindow::OnReplacementChanged(size_t row) {
  UpdateRows(true);
  if (replacement_texts_[row].empty()) {
    row_changed_mask_ &= static_cast<uint8_t>(~RowBit(row));
  } else {
    row_changed_mask_ |= RowBit(row);
  }
  controls_->Enable(ids::kSetCustom, row_changed_mask_ != 0);
  UpdateRows(false);
}

void EnhancedConfigWindow::ClearRows() {
  for (int list : ids::kRowLists) controls_->Select(list, 0);
  // One box at a time: emptying a box runs its change rule, which takes the data again and
  // would give the members of the boxes not yet emptied their texts back.
  for (size_t row = 0; row < kRows; ++row) {
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
