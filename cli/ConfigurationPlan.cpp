#include "cli/ConfigurationPlan.h"

#include <algorithm>
#include <cstdio>

#include "config/LoadedConfiguration.h"
#include "config/WrapperText.h"

namespace pelgar::cli {
namespace {

// A wrapper text of the file decoded as the window decodes the text of its box.
bool Decode(const std::optional<std::string>& text, std::string_view name, std::string* decoded,
            std::string* why) {
  decoded->clear();
  if (!text || text->empty()) return true;
  std::array<char, config::kWrapperTextSize> bytes{};
  int32_t extra_count = 0;
  if (!config::DecodeWrapperText(*text, bytes, extra_count)) {
    *why = std::string(name) + " \"" + *text +
           R"(": characters from 032 to 127 only, written \ddd, and \\ for a backslash)";
    return false;
  }
  *decoded = bytes.data();
  return true;
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

std::string Byte(uint8_t value) {
  char text[4];
  std::snprintf(text, sizeof text, "%02X", value);
  return text;
}

void Check(std::vector<Difference>& differences, const char* field, const std::string& file,
           const std::string& reader) {
  if (file != reader) differences.push_back({field, file, reader});
}

void CheckFlag(std::vector<Difference>& differences, const char* field, bool file, bool reader) {
  Check(differences, field, OnOff(file), OnOff(reader));
}

std::string Sentinel(uint8_t sentinel) {
  return config::FormatWrapperText(std::string(1, static_cast<char>(sentinel)));
}

}  // namespace

std::optional<ConfigurationPlan> PlanConfiguration(std::string_view raw, std::string* why) {
  ConfigurationPlan plan;
  plan.file = config::ParseConfigFile(raw);
  if (plan.file.status == config::ConfigFileStatus::kBadHeader) {
    *why = "line 1 is no configuration file header";
    return std::nullopt;
  }
  if (plan.file.status == config::ConfigFileStatus::kNoConfigurationLine) {
    *why = "there is no configuration line (line 2)";
    return std::nullopt;
  }
  if (!plan.file.has_enhanced_section) return plan;

  EnhancedPlan enhanced;
  if (!Decode(plan.file.head_wrapper, "head wrapper", &enhanced.head, why) ||
      !Decode(plan.file.tail_wrapper, "tail wrapper", &enhanced.tail, why)) {
    return std::nullopt;
  }
  // The window lets a wrapper of the whole budget exclude the other, the tail first, and
  // refuses any other pair that outgrows the budget.
  const size_t head = enhanced.head.size();
  const size_t tail = enhanced.tail.size();
  if (head > config::kMaxWrapperTotal || tail > config::kMaxWrapperTotal) {
    *why = "a wrapper holds " + std::to_string(std::max(head, tail)) + " characters, more than " +
           std::to_string(config::kMaxWrapperTotal);
    return std::nullopt;
  }
  if (tail == config::kMaxWrapperTotal) {
    enhanced.head.clear();
  } else if (head == config::kMaxWrapperTotal) {
    enhanced.tail.clear();
  } else if (!config::WrapperLengthsFit(head, tail)) {
    *why = "the wrappers hold " + std::to_string(head) + " and " + std::to_string(tail) +
           " characters, more than " + std::to_string(config::kMaxWrapperTotal) + " together";
    return std::nullopt;
  }
  if (plan.file.cr_byte) enhanced.cr = config::DecodeFileCrByte(*plan.file.cr_byte);
  const std::optional<uint8_t>& language = plan.file.wedge_language;
  if (language &&
      (*language == config::kWedgeLanguageAltNumPad || *language == config::kWedgeLanguageUsa ||
       *language == config::kWedgeLanguageCustomTable)) {
    enhanced.language = language;
  }
  plan.enhanced = enhanced;
  return plan;
}

std::array<uint8_t, 4> ShownSentinels(const StoredSettings& reader) {
  return reader.record.custom_configuration ? reader.record.sentinels : config::kDefaultSentinels;
}

config::ConfigurationRecord RecordToSend(const ConfigurationPlan& plan,
                                         const StoredSettings& reader) {
  return config::LoadedConfiguration(plan.file, ShownSentinels(reader), reader.wedge_position,
                                     reader.serial_position);
}

std::vector<Difference> Compare(const ConfigurationPlan& plan, const StoredSettings& reader) {
  std::vector<Difference> differences;
  const config::ConfigurationRecord file = RecordToSend(plan, reader);
  const config::ConfigurationRecord& stored = reader.record;
  CheckFlag(differences, "carriage_return", file.carriage_return, stored.carriage_return);
  CheckFlag(differences, "raw_data_mode", file.raw_data_mode, stored.raw_data_mode);
  CheckFlag(differences, "track1_enabled", file.track1_enabled, stored.track1_enabled);
  CheckFlag(differences, "track2_enabled", file.track2_enabled, stored.track2_enabled);
  CheckFlag(differences, "track3_enabled", file.track3_enabled, stored.track3_enabled);
  CheckFlag(differences, "strip_sentinels", file.strip_sentinels, stored.strip_sentinels);
  CheckFlag(differences, "custom_configuration", file.custom_configuration,
            stored.custom_configuration);
  CheckFlag(differences, "hide_error_tracks", file.hide_error_tracks, stored.hide_error_tracks);
  constexpr const char* kSentinelFields[] = {"track1_start_sentinel", "track2_start_sentinel",
                                             "track3_start_sentinel", "end_sentinel"};
  for (size_t i = 0; i < file.sentinels.size(); ++i) {
    Check(differences, kSentinelFields[i], Sentinel(file.sentinels[i]),
          Sentinel(stored.sentinels[i]));
  }
  if (!plan.enhanced || !reader.has_enhanced) return differences;

  const EnhancedPlan& enhanced = *plan.enhanced;
  Check(differences, "head_wrapper", config::FormatWrapperText(enhanced.head),
        config::FormatWrapperText(reader.head));
  Check(differences, "tail_wrapper", config::FormatWrapperText(enhanced.tail),
        config::FormatWrapperText(reader.tail));
  CheckFlag(differences, "cr_track1", enhanced.cr.track1, reader.cr.track1);
  CheckFlag(differences, "cr_track2", enhanced.cr.track2, reader.cr.track2);
  CheckFlag(differences, "cr_track3", enhanced.cr.track3, reader.cr.track3);
  CheckFlag(differences, "capital_mode", enhanced.cr.capital_mode && reader.wedge_position,
            reader.cr.capital_mode);
  if (enhanced.language && reader.wedge_position) {
    Check(differences, "wedge_language", Byte(*enhanced.language), Byte(reader.language));
  }
  return differences;
}

std::string ConfigurationFileOf(const StoredSettings& reader) {
  config::ConfigFileImage image;
  image.option_byte = config::EncodeFileOptionByte(reader.record);
  image.sentinels = reader.record.sentinels;
  image.enhanced_section = reader.has_enhanced;
  image.head_wrapper = config::FormatWrapperText(reader.head);
  image.tail_wrapper = config::FormatWrapperText(reader.tail);
  image.cr_byte = config::EncodeFileCrByte(reader.cr);
  image.wedge_language = reader.language;
  return config::FormatConfigFile(image);
}

}  // namespace pelgar::cli
