// "Get" and "Set" of the enhanced group: each claims the reader for itself.
#include <algorithm>
#include <cstring>

#include "config/EnhancedSettings.h"
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

template <size_t N>
std::string_view TextOf(const std::array<char, N>& field) {
  return std::string_view(field.data(), strnlen(field.data(), N));
}

// Copies a wrapper into a session field, leaving room for its terminating zero.
template <size_t N>
void CopyWrapper(const std::string& text, std::array<char, N>& field) {
  field.fill('\0');
  std::copy_n(text.begin(), std::min(text.size(), N - 1), field.begin());
}

}  // namespace

void EnhancedGroup::Get() {
  auto session = host_.ClaimReader();
  if (!session) {
    controls().Enable(id::kEnhancedSet, false);
    return;
  }
  bool wedge = session->wedge_position == 1;
  controls().SetCheck(id::kSerialMode, session->serial_position == 1);
  controls().SetCheck(id::kWedgeMode, wedge);

  session->head_text.fill('\0');
  session->tail_text.fill('\0');
  head_.text.clear();
  tail_.text.clear();
  // The wrappers shown before are about to be replaced as a whole: budgets computed from
  // them would refuse the new ones while they are written one after the other.
  head_.budget = kWrapperTotal;
  tail_.budget = kWrapperTotal;
  if (!session->GetDataWrapper()) ReportFailure(kGetWrapperFailed);
  ShowWrappers(TextOf(session->head_text), TextOf(session->tail_text));

  if (!session->GetIndividualCR()) ReportFailure(kEnhancedFailed);
  controls().SetCheck(id::kCrTrack1, session->individual_cr[0] == 1);
  controls().SetCheck(id::kCrTrack2, session->individual_cr[1] == 1);
  controls().SetCheck(id::kCrTrack3, session->individual_cr[2] == 1);

  // Capital mode and the language mean something only to a reader typing as a keyboard.
  const int wedge_controls[] = {id::kCapitalMode, id::kAltNumPad, id::kUsa, id::kCustomTable};
  if (wedge) {
    for (int control : wedge_controls) controls().Enable(control, true);
    controls().SetCheck(id::kCapitalMode, session->individual_cr[3] == 1);
    if (!session->GetWedgeMode()) ReportFailure(kEnhancedFailed);
    ShowLanguage(controls(), session->wedge_language);
  } else {
    controls().SetCheck(id::kCapitalMode, false);
    ShowLanguage(controls(), config::kWedgeLanguageUsa);
    for (int control : wedge_controls) controls().Enable(control, false);
  }
}

void EnhancedGroup::Set() {
  // The wrappers go out as the boxes show them. A text rule that stopped at one box left
  // the other undecoded, so the data is taken again here; a box the decoding refuses, or
  // that holds more than its room, stops the Set before anything is sent, as it stops
  // Enter, and keeps the focus. The rooms are last computed from texts that such a stop
  // may have left undecoded, so the pair that would be sent is checked on its own too.
  if (!host_.UpdateData(true)) return;
  const std::string no_wrapper;
  const std::string& head = controls().IsChecked(id::kHeadWrapper) ? head_.text : no_wrapper;
  const std::string& tail = controls().IsChecked(id::kTailWrapper) ? tail_.text : no_wrapper;
  DataExchange dx{controls(), messages_};
  if (!CheckWrapperTotal(dx, tail_.box_id, head.size(), tail.size(), tail_.extra)) return;

  auto session = host_.ClaimReader();
  if (!session) {
    controls().Enable(id::kEnhancedSet, false);
    return;
  }
  bool wedge = session->wedge_position == 1;
  session->head_text.fill('\0');
  session->tail_text.fill('\0');
  CopyWrapper(head, session->head_text);
  CopyWrapper(tail, session->tail_text);
  if (!session->SetDataWrapper()) ReportFailure(kSetWrapperFailed);

  session->individual_cr[0] = controls().IsChecked(id::kCrTrack1) ? 1 : 0;
  session->individual_cr[1] = controls().IsChecked(id::kCrTrack2) ? 1 : 0;
  session->individual_cr[2] = controls().IsChecked(id::kCrTrack3) ? 1 : 0;
  session->individual_cr[3] = controls().IsChecked(id::kCapitalMode) && wedge ? 1 : 0;
  if (!session->SetIndividualCR()) ReportFailure(kSetCrFailed);

  if (wedge) {
    // With no language box checked the user has chosen none: the reader keeps its own
    // instead of being sent one nobody picked.
    if (std::optional<uint8_t> language = CheckedLanguage(controls())) {
      session->wedge_language = *language;
      if (!session->SetWedgeMode()) ReportFailure(kSetLanguageFailed);
    }
  }
  controls().Enable(id::kEnhancedSet, false);
}

}  // namespace pelgar::ui
