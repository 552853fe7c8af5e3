#include "ui/main/EnhancedGroup.h"

#include "config/EnhancedSettings.h"
#include "config/WrapperText.h"
#include "ui/main/MainWindowIds.h"

namespace pelgar::ui {

namespace id = main_id;

namespace {

// The wedge mode languages the group offers, one check box each.
struct LanguageBox {
  int id;
  uint8_t code;
};
constexpr LanguageBox kLanguageBoxes[] = {
    {id::kAltNumPad, config::kWedgeLanguageAltNumPad},
    {id::kUsa, config::kWedgeLanguageUsa},
    {id::kCustomTable, config::kWedgeLanguageCustomTable},
};

// A wrapper that leaves the other no room at all.
bool TakesWholeBudget(const std::string& text) { return config::WrapperBudget(text.size()) == 0; }

}  // namespace

std::optional<uint8_t> EnhancedGroup::CheckedLanguage(const Controls& controls) {
  for (const LanguageBox& box : kLanguageBoxes) {
    if (controls.IsChecked(box.id)) return box.code;
  }
  return std::nullopt;
}

void EnhancedGroup::ShowLanguage(Controls& controls, uint8_t language) {
  for (const LanguageBox& box : kLanguageBoxes) controls.SetCheck(box.id, box.code == language);
}

void EnhancedGroup::ShowIndividualCR(Controls& controls, const device::DeviceSession& session) {
  controls.SetCheck(id::kCrTrack1, device::IsOn(session.individual_cr[0]));
  controls.SetCheck(id::kCrTrack2, device::IsOn(session.individual_cr[1]));
  controls.SetCheck(id::kCrTrack3, device::IsOn(session.individual_cr[2]));
}

EnhancedGroup::EnhancedGroup(MessageOutput& messages, Host& host)
    : messages_(messages),
      host_(host),
      head_{id::kHeadWrapper, id::kHeadText, {}},
      tail_{id::kTailWrapper, id::kTailText, {}} {}

bool EnhancedGroup::OnControl(int control, Notification notification) {
  if (notification == Notification::kChanged) {
    if (control == id::kHeadText) {
      OnTextChanged(head_, tail_);
    } else if (control == id::kTailText) {
      OnTextChanged(tail_, head_);
    } else {
      return false;
    }
    return true;
  }
  if (notification != Notification::kClicked) return false;
  switch (control) {
    case id::kEnhancedGet:
      Get();
      return true;
    case id::kEnhancedSet:
      Set();
      return true;
    case id::kHeadWrapper:
      OnCheckClicked(head_, tail_);
      return true;
    case id::kTailWrapper:
      OnCheckClicked(tail_, head_);
      return true;
    case id::kCrTrack1:
    case id::kCrTrack2:
    case id::kCrTrack3:
    case id::kCapitalMode:
      EnhancedChangeRule();
      return true;
    case id::kAltNumPad:
    case id::kUsa:
    case id::kCustomTable:
      OnLanguageClicked(control);
      return true;
    default:
      return false;
  }
}

bool EnhancedGroup::Exchange(DataExchange& dx) {
  if (!dx.save_and_validate) {
    return ExchangeWrapperBox(dx, head_.box_id, head_.text, head_.extra, head_.budget) &&
           ExchangeWrapperBox(dx, tail_.box_id, tail_.text, tail_.extra, tail_.budget);
  }
  // Only what will be sent is checked: an unchecked wrapper, whatever its box still holds
  // (the length rule unchecks a box without emptying it), and one that the other's 14
  // characters are about to exclude take no part, and leave the other the whole budget.
  // The rooms are computed afresh from the texts, never left over from an earlier state.
  if (!TakeWrapper(dx, head_) || !TakeWrapper(dx, tail_)) return false;
  ShareBudget();
  for (Wrapper* wrapper : {&head_, &tail_}) {
    if (SentLength(*wrapper) == 0) continue;
    const size_t typed = wrapper->text.size() + static_cast<size_t>(wrapper->extra);
    const int limit = static_cast<int>(wrapper->budget) + wrapper->extra;
    if (!ExchangeMaxChars(dx, wrapper->box_id, typed, limit)) {
      return false;
    }
  }
  return true;
}

bool EnhancedGroup::TakeWrapper(DataExchange& dx, Wrapper& wrapper) {
  if (controls().IsChecked(wrapper.check_id)) {
    return ExchangeWrapperText(dx, wrapper.box_id, wrapper.text, wrapper.extra);
  }
  wrapper.text.clear();
  wrapper.extra = 0;
  return true;
}

size_t EnhancedGroup::SentLength(const Wrapper& wrapper) const {
  if (!controls().IsChecked(wrapper.check_id)) return 0;
  // A wrapper of the whole budget excludes the other; of two such, the tail wins, as in
  // the length rule.
  const bool head = &wrapper == &head_;
  const Wrapper& other = head ? tail_ : head_;
  const bool excluded = controls().IsChecked(other.check_id) && TakesWholeBudget(other.text) &&
                        (head || !TakesWholeBudget(wrapper.text));
  return excluded ? 0 : wrapper.text.size();
}

void EnhancedGroup::ShareBudget() {
  head_.budget = config::WrapperBudget(SentLength(tail_));
  tail_.budget = config::WrapperBudget(SentLength(head_));
}

void EnhancedGroup::EnhancedChangeRule() {
  controls().Enable(id::kEnhancedSet, true);
  controls().Enable(id::kSaveSettings, true);
}

void EnhancedGroup::OnCheckClicked(Wrapper& self, Wrapper& other) {
  EnhancedChangeRule();
  if (!TakesWholeBudget(other.text) && controls().IsChecked(self.check_id)) {
    controls().Enable(self.box_id, true);
    // This box was emptied when its box was last unchecked, so the other may have it all.
    other.budget = config::WrapperBudget(0);
  } else {
    controls().Enable(self.box_id, false);
    controls().SetCheck(self.check_id, false);
    controls().SetText(self.box_id, "");  // runs this box's text rule
  }
}

void EnhancedGroup::OnTextChanged(Wrapper& self, Wrapper& other) {
  self.text.clear();
  EnhancedChangeRule();
  host_.UpdateData(true);
  // A wrapper that has reached the whole budget excludes the other; its text stays.
  // (At or beyond: a longer text, written by a program, must not leave the other box
  // open with no budget.)
  if (TakesWholeBudget(self.text)) {
    controls().Enable(other.box_id, false);
    controls().SetCheck(other.check_id, false);
  } else if (controls().IsChecked(other.check_id)) {
    controls().Enable(other.box_id, true);
  }
  ShareBudget();
  host_.UpdateData(false);
}

void EnhancedGroup::OnLanguageClicked(int control) {
  EnhancedChangeRule();
  // At most one language: a click on one unchecks the others; clicking the checked one
  // has already unchecked it, so none may be chosen.
  for (const LanguageBox& box : kLanguageBoxes) {
    if (box.id != control) controls().SetCheck(box.id, false);
  }
}

void EnhancedGroup::ShowWrapper(Wrapper& wrapper, const std::string& escaped) {
  if (!escaped.empty()) {
    controls().SetCheck(wrapper.check_id, true);
    controls().Enable(wrapper.box_id, true);
    controls().SetText(wrapper.box_id, escaped);
  } else {
    controls().SetCheck(wrapper.check_id, false);
    controls().SetText(wrapper.box_id, "");
    controls().Enable(wrapper.box_id, false);
  }
}

void EnhancedGroup::ShowWrappers(std::string_view head, std::string_view tail) {
  std::string head_escaped = config::FormatWrapperText(head);
  std::string tail_escaped = config::FormatWrapperText(tail);
  ShowWrapper(head_, head_escaped);
  ShowWrapper(tail_, tail_escaped);
  ApplyWrapperLengthRule();
}

void EnhancedGroup::ApplyWrapperLengthRule() {
  host_.UpdateData(true);
  if (TakesWholeBudget(tail_.text)) {
    controls().Enable(head_.box_id, false);
    controls().SetCheck(head_.check_id, false);
  } else if (TakesWholeBudget(head_.text)) {
    controls().Enable(tail_.box_id, false);
    controls().SetCheck(tail_.check_id, false);
  }
  ShareBudget();
  host_.UpdateData(false);
}

void EnhancedGroup::ReportFailure(std::string_view text) {
  messages_.ShowMessage(text, "", box::kOk);
}

}  // namespace pelgar::ui
