#include "ui/main/ConfigFileActions.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "config/ConfigFile.h"
#include "config/ConfigurationRecord.h"
#include "config/EnhancedSettings.h"
#include "config/LoadedConfiguration.h"
#include "config/WrapperText.h"
#include "platform/Files.h"
#include "platform/ReplacingFile.h"
#include "ui/main/EnhancedGroup.h"
#include "ui/main/MainWindowIds.h"

namespace pelgar::ui {
namespace {

namespace id = main_id;

constexpr std::string_view kSaveTitle = "Select the Desired Target MSR Configuration File";
constexpr std::string_view kOpenTitle = "Select the Desired MSR Configuration File";
constexpr std::string_view kSaveFailed =
    "Error opening target configuration file.\nConfiguration not saved.";
constexpr std::string_view kOpenFailed = "Error opening configuration file.";
constexpr std::string_view kBadHeader = "Bad configuration file header.";
constexpr std::string_view kNoConfigurationLine = "Error getting configuration data from file.";
// The wrapper edits are read into 80-character buffers.
constexpr size_t kWrapperReadChars = 79;

// Check boxes stored in the file option byte, with their bits (tracks not inverted).
struct OptionBox {
  int id;
  uint8_t bit;
};
constexpr std::array<OptionBox, 6> kOptionBoxes = {{
    {id::kRawDataMode, config::kRawDataModeBit},
    {id::kTrack1, config::kTrack1Bit},
    {id::kTrack2, config::kTrack2Bit},
    {id::kTrack3, config::kTrack3Bit},
    {id::kStripSentinels, config::kStripSentinelsBit},
    {id::kHideErrorTracks, config::kHideErrorTracksBit},
}};

std::string FormatPath(std::string_view format_start, const std::string& path,
                       std::string_view format_end) {
  std::string text(format_start);
  text.append(path).append(format_end);
  return text;
}

// The wrapper text as the file keeps it. A line of more than one read would split and
// take the lines after it along, so an edit text too long for its line (fourteen
// "\ddd" escapes are 56 characters) is saved in its shortest escaped form, which stands
// for the same wrapper and always fits.
std::string WrapperForFile(const std::string& text) {
  if (text.size() <= config::kMaxWrapperTextInFile || text.size() > config::kWrapperBoxChars) {
    return text;
  }
  std::array<char, config::kWrapperTextSize> decoded{};
  int32_t extra_count = 0;
  if (!config::DecodeWrapperText(text, decoded, extra_count)) return text;
  return config::FormatWrapperText(std::string_view(decoded.data()));
}

}  // namespace

void ConfigFileActions::Save() {
  Controls& controls = window_.controls();
  MessageOutput& messages = window_.messages();

  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::kSave;
  request.title = kSaveTitle;
  request.filters = {{"All", "*.*"}, {"Text", "*.TXT"}};
  request.confirm_overwrite = true;
  std::optional<std::string> path = dialogs_.ChoosePath(request);
  if (!path) return;

  // The new content goes beside the old file and replaces it only once it is complete,
  // so a failed save never destroys the previous one (unless the file must be rewritten in
  // place to stay the same file: see ReplacingFile).
  platform::ReplacingFile file;
  if (!file.Open(*path)) {
    messages.ShowMessage(kSaveFailed, kErrorCaption, box::kOk | box::kIconExclamation);
    return;
  }

  config::ConfigFileImage image;
  if (controls.IsChecked(id::kCarriageReturn)) image.option_byte |= config::kCarriageReturnBit;
  for (const OptionBox& option : kOptionBoxes) {
    if (controls.IsChecked(option.id)) image.option_byte |= option.bit;
  }
  if (controls.IsChecked(id::kCustomConfiguration) || window_.AskToEnableCustomConfiguration()) {
    image.option_byte |= config::kCustomConfigurationBit;
  }
  for (size_t i = 0; i < id::kSentinels.size(); ++i) {
    image.sentinels[i] =
        config::TextToSentinel(controls.GetText(id::kSentinels[i], kSentinelReadChars));
  }

  if (controls.IsChecked(id::kHeadWrapper)) {
    image.head_wrapper = WrapperForFile(controls.GetText(id::kHeadText, kWrapperReadChars));
  }
  if (controls.IsChecked(id::kTailWrapper)) {
    image.tail_wrapper = WrapperForFile(controls.GetText(id::kTailText, kWrapperReadChars));
  }
  config::CrFlags cr;
  cr.capital_mode = controls.IsChecked(id::kCapitalMode);
  cr.track1 = controls.IsChecked(id::kCrTrack1);
  cr.track2 = controls.IsChecked(id::kCrTrack2);
  cr.track3 = controls.IsChecked(id::kCrTrack3);
  image.cr_byte = config::EncodeFileCrByte(cr);
  image.wedge_language = EnhancedGroup::CheckedLanguage(controls);

  if (!file.Write(config::FormatConfigFile(image)) || !file.Commit()) {
    messages.ShowMessage(kSaveFailed, kErrorCaption, box::kOk | box::kIconExclamation);
    return;
  }
  messages.ShowMessage(FormatPath("Configuration successfully saved to ", *path, "!\n"),
                       "Settings Saved!", box::kOk | box::kIconInformation);
}

ConfigFileActions::LoadResult ConfigFileActions::Load() {
  FileDialogRequest request;
  request.kind = FileDialogRequest::Kind::kOpen;
  request.title = kOpenTitle;
  request.filters = {{"All", "*.*"}, {"Text", "*.TXT"}};
  request.must_exist = true;
  std::optional<std::string> path = dialogs_.ChoosePath(request);
  if (!path) return {};
  return LoadFile(*path);
}

ConfigFileActions::LoadResult ConfigFileActions::LoadFile(const std::string& path) {
  Controls& controls = window_.controls();
  MessageOutput& messages = window_.messages();
  LoadResult result;

  std::string why;
  std::optional<std::string> raw = platform::ReadFileStart(path, config::kMaxBytesRead, &why);
  if (!raw) {
    result.outcome = LoadOutcome::kOpenFailed;
    result.cause = path + ": " + why;
    // Whoever started the program from a menu sees no standard error: the box says why.
    messages.ShowMessage(std::string(kOpenFailed) + "\n\n" + result.cause, kErrorCaption,
                         box::kOk | box::kIconExclamation);
    if (window_.unattended()) controls.Close(0);
    return result;
  }
  config::LoadedConfigFile file = config::ParseConfigFile(*raw);
  if (file.status != config::ConfigFileStatus::kOk) {
    messages.ShowMessage(
        file.status == config::ConfigFileStatus::kBadHeader ? kBadHeader : kNoConfigurationLine,
        kErrorCaption, box::kOk | box::kIconExclamation);
    result.outcome = LoadOutcome::kBadFormat;
    result.cause = path + ": " + file.problem;
    return result;
  }
  result.outcome = LoadOutcome::kLoaded;
  result.warnings = file.warnings;
  result.wrapper_problem = config::WrapperProblem(file);

  LoadBasicSection(file);
  if (file.has_enhanced_section) LoadEnhancedSection(file);

  if (!window_.unattended()) {
    messages.ShowMessage(
        FormatPath("Configuration file ", path,
                   " loaded successfully!\n\nClick \"Set Config\" button for loaded custom "
                   "configuration to be applied to the MSR.\nClick \"Set\" button for loaded "
                   "enhanced configuration to be applied to the MSR."),
        "Configuration Loaded Successfully!", box::kOk | box::kIconInformation);
  } else {
    result.stored = window_.SetConfig();
    if (file.has_enhanced_section && window_.enhanced_capable()) {
      result.enhanced = window_.EnhancedSet();
    }
    controls.Close(0);
  }
  window_.ApplyEnableRule();
  controls.Enable(id::kSetConfig, true);
  return result;
}

void ConfigFileActions::LoadBasicSection(const config::LoadedConfigFile& file) {
  Controls& controls = window_.controls();
  std::array<uint8_t, 4> shown_sentinels{};
  for (size_t i = 0; i < id::kSentinels.size(); ++i) {
    shown_sentinels[i] =
        config::TextToSentinel(controls.GetText(id::kSentinels[i], kSentinelReadChars));
  }
  // Without the custom configuration this is the reader's default setting, which is what
  // the window shows then; carriage return follows the slide switch when one is known.
  const config::ConfigurationRecord record =
      config::LoadedConfiguration(file, shown_sentinels, controls.IsChecked(id::kWedgeMode),
                                  controls.IsChecked(id::kSerialMode));
  const uint8_t option = config::EncodeFileOptionByte(record);
  controls.SetCheck(id::kCarriageReturn, record.carriage_return);
  controls.SetCheck(id::kCustomConfiguration, record.custom_configuration);
  for (const OptionBox& box : kOptionBoxes) controls.SetCheck(box.id, (option & box.bit) != 0);
  for (size_t i = 0; i < id::kSentinels.size(); ++i) {
    controls.SetText(id::kSentinels[i], config::SentinelToText(record.sentinels[i]));
  }
}

void ConfigFileActions::LoadEnhancedSection(const config::LoadedConfigFile& file) {
  Controls& controls = window_.controls();
  // Each text written here runs the enhanced group's text rule.
  controls.SetText(id::kHeadText, "");
  controls.SetText(id::kTailText, "");
  if (file.head_wrapper) LoadWrapper(*file.head_wrapper, id::kHeadWrapper, id::kHeadText);
  if (file.tail_wrapper) LoadWrapper(*file.tail_wrapper, id::kTailWrapper, id::kTailText);
  window_.ApplyWrapperLengthRule();

  if (file.cr_byte) {
    config::CrFlags cr = config::DecodeFileCrByte(*file.cr_byte);
    controls.SetCheck(id::kCapitalMode, cr.capital_mode);
    controls.SetCheck(id::kCrTrack1, cr.track1);
    controls.SetCheck(id::kCrTrack2, cr.track2);
    controls.SetCheck(id::kCrTrack3, cr.track3);
  }
  if (file.wedge_language) EnhancedGroup::ShowLanguage(controls, *file.wedge_language);
}

void ConfigFileActions::LoadWrapper(const std::string& text, int check_id, int edit_id) {
  Controls& controls = window_.controls();
  if (text.empty()) {
    controls.SetCheck(check_id, false);
    controls.Enable(edit_id, false);
    return;
  }
  controls.SetCheck(check_id, true);
  controls.Enable(edit_id, true);
  controls.SetText(edit_id, text);
}

}  // namespace pelgar::ui
