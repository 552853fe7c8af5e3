// "Get" and "Set" of the enhanced group: each claims the reader for itself.

#include "config/EnhancedSettings.h"
#include "config/FixedText.h"
#include "ui/main/EnhancedGroup.h"
#include "ui/main/MainWindowIds.h"

namespace pelgar::ui {
namespace {

namespace id = main_id;

constexpr std::string_view kGetWrapperFailed =
    "Error occurred while applying changes to the MSR enhanced Wrapper configuration";
constexpr std::string_view kSetWrapperFailed =
    "Error occurred while applying changes to the MSR Wrapper Configuration.";
constexpr std::string_view kSetCrFailed =
    "Error occurred while applying changes to the Indivisual CR Configuration.";
constexpr std::string_view kSetLanguageFailed =
    "Error occurred while applying changes to the Wedge Mode Language.";

}  // namespace

void EnhancedGroup::Get() {
  auto session = host_.ClaimReader();
  if (!session) {
    controls().Enable(id::kEnhancedSet, false);
    return;
  }
  bool wedge = device::IsOn(session->wedge_position);
  controls().SetCheck(id::kSerialMode, device::IsOn(session->serial_position));
  controls().SetCheck(id::kWedgeMode, wedge);

  session->head_text.fill('\0');
  session->tail_text.fill('\0');
  head_.text.clear();
  tail_.text.clear();
  // The wrappers shown before are about to be replaced as a whole: budgets computed from
  // them would refuse the new ones while they are written one after the other.
  head_.budget = config::WrapperBudget(0);
  tail_.budget = config::WrapperBudget(0);
  if (!session->GetDataWrapper()) ReportFailure(kGetWrapperFailed);
  ShowWrappers(config::FieldText(session->head_text), config::FieldText(session->tail_text));

  if (!session->GetIndividualCR()) ReportFailure(kEnhancedFailed);
  ShowIndividualCR(controls(), *session);

  // Capital mode and the language mean something only to a reader typing as a keyboard.
  const int wedge_controls[] = {id::kCapitalMode, id::kAltNumPad, id::kUsa, id::kCustomTable};
  if (wedge) {
    for (int control : wedge_controls) controls().Enable(control, true);
    controls().SetCheck(id::kCapitalMode, device::IsOn(session->individual_cr[3]));
    if (!session->GetWedgeMode()) ReportFailure(kEnhancedFailed);
    ShowLanguage(controls(), session->wedge_language);
  } else {
    controls().SetCheck(id::kCapitalMode, false);
    ShowLanguage(controls(), config::kWedgeLanguageUsa);
    for (int control : wedge_controls) controls().Enable(control, false);
  }
}

EnhancedGroup::SetOutcome EnhancedGroup::Set() {
  // The checked wrappers go out as their boxes show them. A text rule that stopped at one
  // box left the other undecoded, so the data is taken again here; a checked box the
  // decoding refuses, or that holds more than the other leaves it, stops the Set before
  // anything is sent, as it stops Enter, and keeps the focus. The pair that would be sent
  // is checked on its own too, so nothing half-sent can reach the reader.
  if (!host_.UpdateData(true)) return SetOutcome::kNotSent;
  const std::string no_wrapper;
  const std::string& head = controls().IsChecked(id::kHeadWrapper) ? head_.text : no_wrapper;
  const std::string& tail = controls().IsChecked(id::kTailWrapper) ? tail_.text : no_wrapper;
  DataExchange dx{controls(), messages_};
  if (!CheckWrapperTotal(dx, tail_.box_id, head.size(), tail.size(), tail_.extra)) {
    return SetOutcome::kNotSent;
  }

  auto session = host_.ClaimReader();
  if (!session) {
    controls().Enable(id::kEnhancedSet, false);
    return SetOutcome::kNotClaimed;
  }
  bool accepted = true;
  auto refused = [&](std::string_view text) {
    ReportFailure(text);
    accepted = false;
  };
  bool wedge = device::IsOn(session->wedge_position);
  config::AssignField(session->head_text, head);
  config::AssignField(session->tail_text, tail);
  if (!session->SetDataWrapper()) refused(kSetWrapperFailed);

  session->individual_cr[0] = device::ToFlag(controls().IsChecked(id::kCrTrack1));
  session->individual_cr[1] = device::ToFlag(controls().IsChecked(id::kCrTrack2));
  session->individual_cr[2] = device::ToFlag(controls().IsChecked(id::kCrTrack3));
  session->individual_cr[3] = device::ToFlag(controls().IsChecked(id::kCapitalMode) && wedge);
  if (!session->SetIndividualCR()) refused(kSetCrFailed);

  if (wedge) {
    // With no language box checked the user has chosen none: the reader keeps its own
    // instead of being sent one nobody picked.
    if (std::optional<uint8_t> language = CheckedLanguage(controls())) {
      session->wedge_language = *language;
      if (!session->SetWedgeMode()) refused(kSetLanguageFailed);
    }
  }
  controls().Enable(id::kEnhancedSet, false);
  return accepted ? SetOutcome::kSent : SetOutcome::kRefused;
}

}  // namespace pelgar::ui
