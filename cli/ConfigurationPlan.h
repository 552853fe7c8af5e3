#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/ReaderReport.h"
#include "config/ConfigFile.h"
#include "config/ConfigurationRecord.h"
#include "config/EnhancedSettings.h"

namespace pelgar::cli {

// The enhanced settings a configuration file's enhanced section sends, as `pelgar FILE.DAT`
// sends them after its window has loaded the file: a wrapper of the whole 14 characters
// excludes the other (the tail wins a tie), the carriage-return flags and capital mode of
// line 6 (all off without it), and the language of line 7 when it is 00, 01 or FF.
struct EnhancedPlan {
  std::string head;  // decoded bytes
  std::string tail;
  config::CrFlags cr;               // capital mode goes only to a reader in the wedge position
  std::optional<uint8_t> language;  // sent only to a reader in the wedge position
};

struct ConfigurationPlan {
  config::LoadedConfigFile file;
  std::optional<EnhancedPlan> enhanced;
};

// A configuration file's bytes, or nothing, with `why`, when `pelgar FILE.DAT` would refuse
// it at any step: its header, its configuration line, a wrapper's escapes or the wrappers'
// lengths. The unattended run would store the basic section before refusing the enhanced
// one; pelgarctl refuses the whole file before it claims a reader.
std::optional<ConfigurationPlan> PlanConfiguration(std::string_view raw, std::string* why);

// What a reader stores, as one session reads it.
struct StoredSettings {
  config::ConfigurationRecord record;
  bool wedge_position = false;
  bool serial_position = false;
  std::string revision;
  // Read only from a reader that knows the enhanced settings.
  bool has_enhanced = false;
  std::string head;
  std::string tail;
  config::CrFlags cr;
  uint8_t language = 0;
};

// The sentinels the window shows of a reader: its own under custom configuration, else the
// default ones. A file that leaves a sentinel out keeps the shown one.
std::array<uint8_t, 4> ShownSentinels(const StoredSettings& reader);

// The configuration record `plan` sends to `reader`.
config::ConfigurationRecord RecordToSend(const ConfigurationPlan& plan,
                                         const StoredSettings& reader);

// Every field that `reader` stores otherwise than applying `plan` to it would store: the
// whole configuration record, and, when the plan has an enhanced section and the reader
// knows the enhanced settings, the wrappers, the carriage returns, capital mode and the
// language as far as apply sends them to it.
std::vector<Difference> Compare(const ConfigurationPlan& plan, const StoredSettings& reader);

// The configuration file of what `reader` stores, as the window's Save writes one (the
// enhanced section only for a reader that knows the enhanced settings).
std::string ConfigurationFileOf(const StoredSettings& reader);

}  // namespace pelgar::cli
