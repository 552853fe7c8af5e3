// Dialog 130, the enhanced configuration window, as data.
#include "ui/enhanced/EnhancedConfigTemplate.h"

#include <cstdint>
#include <cstdio>
#include <string_view>

namespace pelgar::ui {
namespace {

namespace ids = enhanced_id;

constexpr std::string_view kNonTextNote =
    "* Non-text character can be entered:\n  Example 1: ABCD\\035EF\n  Means: ABCD + # + "
    "EF\n\n  Example 2: ABCD\\\\EF\n  Means: ABCD\\EF\n\n";
constexpr std::string_view kMaximumNote =
    "** Maximum input up to 14 characters. And, maximum of 14 characters for both header and "
    "tail data wrapper.";
constexpr std::string_view kCustomRowTip =
    "Customize the MSR custom wedge mode table.\n\nMaximum up to 7 characters can be "
    "customized at a time. Select default ASCII character from combo box(es), key in the "
    "custom character in text box(es), then press \"Set\" once confirmed.\n\n- ASCII code "
    "range for Track2: 0x00-0x0F\n- ASCII code range for Track1 and Track 3: 0x20-0x5F";

std::string CrTip(int track) {
  std::string number = std::to_string(track);
  return "Enable this option to include carriage return at the end of Track " + number +
         " data stream after a swipe.  \n\n** The swiped card must contain a valid Track " +
         number + ".";
}

// What the reader types for a code by default: the character itself, except for the
// codes it has no key for ("null") and the two it shows differently.
std::string DefaultOutput(uint8_t code) {
  switch (code) {
    case 0x20:
      return "' '";
    case 0x23:
      return "?";
    case 0x21:
    case 0x22:
    case 0x26:
    case 0x27:
    case 0x2A:
    case 0x2B:
    case 0x2C:
    case 0x3A:
    case 0x3B:
    case 0x3C:
    case 0x3D:
    case 0x3E:
    case 0x40:
    case 0x5B:
    case 0x5C:
    case 0x5D:
    case 0x5F:
      return "null";
    default:
      return {static_cast<char>(code)};
  }
}

std::vector<std::string> MakeCharacterList() {
  std::vector<std::string> labels;
  labels.reserve(kCharacterListSize);
  labels.emplace_back(" - None -");
  for (int position = 1; position < kCharacterListSize; ++position) {
    auto code = static_cast<uint8_t>(position + kCharacterCodeOffset);
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(code));
    labels.push_back(std::string(code <= 0x5F ? "MSRT1(" : "MSRTx(") + hex +
                     ") = " + DefaultOutput(code));
  }
  return labels;
}

ControlTemplate List(int id, DialogRect rect, std::vector<std::string> items, std::string tooltip) {
  ControlTemplate control =
      MakeControl(id, ControlKind::kDropList, "", rect, 0, std::move(tooltip));
  control.items = std::move(items);
  return control;
}

DialogTemplate MakeTemplate() {
  using K = ControlKind;
  DialogTemplate dialog;
  dialog.id = ids::kDialog;
  dialog.title = "MSR Enhanced Configuration";
  dialog.font_name = "MS Sans Serif";
  dialog.font_size = 8;
  dialog.width = 234;
  dialog.height = 279;
  auto& c = dialog.controls;

  c.push_back(MakeControl(ids::kLanguageGroup, K::kGroupBox, "MSR Wedge Mode Language ",
                          {11, 11, 211, 163}));
  c.push_back(MakeControl(ids::kLanguageLabel, K::kStatic,
                          "Select MSR Wedge Mode Language :", {19, 23, 125, 9}));
  c.push_back(List(ids::kLanguageList, {19, 35, 109, 49}, LanguageNames(),
                   "Select MSR wedge mode language that supports multiple language.  \n\n** "
                   "Require to change Windows input language of Keyboard to the respective "
                   "selected language."));
  c.push_back(MakeControl(ids::kGetLanguage, K::kPushButton, "Get", {138, 35, 36, 13}, 0,
                          "\nRead the selected MSR wedge mode language from MSR unit.\n"));
  c.push_back(MakeControl(ids::kSetLanguage, K::kPushButton, "Set", {178, 35, 36, 13},
                          style::kDisabled,
                          "\nSetting of the selected MSR wedge mode language to MSR unit.\n"));
  c.push_back(MakeControl(ids::kCustomGroup, K::kGroupBox, "Custom Wedge Mode Language",
                          {19, 54, 195, 113}));
  for (size_t row = 0; row < ids::kRowLabels.size(); ++row) {
    int y = 66 + 14 * static_cast<int>(row);
    c.push_back(MakeControl(ids::kRowLabels[row], K::kStatic, "Custom #" + std::to_string(row + 1),
                            {25, y, 40, 10}));
    c.push_back(List(ids::kRowLists[row], {65, y, 77, 56}, CharacterListLabels(),
                     std::string(kCustomRowTip)));
    c.push_back(MakeControl(ids::kRowBoxes[row], K::kEdit, "", {147, y, 16, 12}, style::kDisabled,
                            std::string(kCustomRowTip)));
  }
  c.push_back(MakeControl(
      ids::kSetCustom, K::kPushButton, "Set", {171, 66, 36, 13}, style::kDisabled,
      "\nSetting of the custom wedge mode table to MSR unit.\n\n** Track 2 is numeric only and "
      "contains only numerics and control characters, while Tracks 1 and 3 contain upper case "
      "alpha characters, numerics, and some special ASCII characters.\n"));
  c.push_back(MakeControl(ids::kResetCustom, K::kPushButton, "Reset", {171, 80, 36, 13}, 0,
                          "\nResetting the custom wedge mode table to original ASCII characters "
                          "from MSR unit.\n\n** NOTE: It takes few seconds delay to reset the "
                          "custom table.\n"));

  c.push_back(MakeControl(ids::kWrapperGroup, K::kGroupBox, "Data Wrapper Configuration",
                          {11, 179, 109, 90}));
  c.push_back(MakeControl(ids::kHeadCheck, K::kCheckBox, "Head Wrapper", {19, 188, 84, 13}, 0,
                          "Enable this option to include data wrapper at header of each track data "
                          "stream after a swipe.\n\n" +
                              std::string(kMaximumNote)));
  c.push_back(MakeControl(ids::kHeadBox, K::kEdit, "", {29, 201, 72, 12}, style::kDisabled,
                          "Input to include data wrapper header of each track.\n\n" +
                              std::string(kNonTextNote) + std::string(kMaximumNote)));
  c.push_back(MakeControl(ids::kTailCheck, K::kCheckBox, "Tail Wrapper", {19, 216, 84, 13}, 0,
                          "Enable this option to include data wrapper at tailer of each track data "
                          "stream after a swipe.\n\n" +
                              std::string(kMaximumNote)));
  c.push_back(MakeControl(ids::kTailBox, K::kEdit, "", {29, 229, 72, 12}, style::kDisabled,
                          "Input to include data wrapper tailer of each track.\n\n" +
                              std::string(kNonTextNote) + std::string(kMaximumNote)));
  c.push_back(MakeControl(ids::kSetWrapper, K::kPushButton, "Set Data Wrapper", {29, 247, 72, 13},
                          style::kDisabled, "\nSetting of data wrapper to MSR unit.\n"));

  c.push_back(
      MakeControl(ids::kCrGroup, K::kGroupBox, "Individual CR Enabled", {127, 179, 95, 71}));
  const int cr_ids[] = {ids::kCrTrack1, ids::kCrTrack2, ids::kCrTrack3};
  const int cr_y[] = {190, 201, 213};
  for (int track = 1; track <= 3; ++track) {
    // Offered only when the main window found the record's carriage return off.
    c.push_back(MakeControl(cr_ids[track - 1], K::kCheckBox,
                            "CR Track " + std::to_string(track) + " Enabled",
                            {135, cr_y[track - 1], 82, 11}, style::kDisabled, CrTip(track)));
  }
  c.push_back(MakeControl(ids::kGetCr, K::kPushButton, "Get", {135, 228, 36, 13}, style::kDisabled,
                          "\nRead the selected individual CR configuration from MSR unit.\n"));
  c.push_back(MakeControl(ids::kSetCr, K::kPushButton, "Set", {176, 228, 36, 13}, style::kDisabled,
                          "\nSetting of the selected individual CR configuration to MSR unit.\n"));
  c.push_back(MakeControl(ids::kReturn, K::kPushButton, "Return", {127, 254, 50, 14}, 0,
                          "\nReturn back to \"Kestrel MSR Configuration Utility\".\n"));
  return dialog;
}

}  // namespace

const std::vector<std::string>& LanguageNames() {
  static const std::vector<std::string> names = {"USA English",
                                                 "Canadian / French",
                                                 "UK English",
                                                 "French",
                                                 "German",
                                                 "Latin American",
                                                 "Spanish",
                                                 "Brazilian Portuguese",
                                                 "FE MSR (Reserved)",
                                                 "Custom Table"};
  return names;
}

int LanguagePosition(uint8_t code) {
  if (code == config::kWedgeLanguageCustomTable) return kCustomTablePosition;
  return code < kCustomTablePosition ? code : -1;
}

uint8_t LanguageCode(int position) {
  if (position == kCustomTablePosition) return config::kWedgeLanguageCustomTable;
  return static_cast<uint8_t>(position & 0xFF);
}

const std::vector<std::string>& CharacterListLabels() {
  static const std::vector<std::string> labels = MakeCharacterList();
  return labels;
}

const DialogTemplate& EnhancedConfigTemplate() {
  static const DialogTemplate dialog = MakeTemplate();
  return dialog;
}

}  // namespace pelgar::ui
