#include "config/LoadedConfiguration.h"

namespace pelgar::config {

ConfigurationRecord LoadedConfiguration(const LoadedConfigFile& file,
                                        const std::array<uint8_t, 4>& shown_sentinels,
                                        bool wedge_position, bool serial_position) {
  ConfigurationRecord record;
  DecodeFileOptionByte(file.option_byte, record);
  if (!record.custom_configuration) {
    return DefaultConfiguration(wedge_position || (!serial_position && record.carriage_return));
  }
  for (size_t i = 0; i < record.sentinels.size(); ++i) {
    const std::optional<std::string>& text = file.sentinels[i];
    record.sentinels[i] = text ? TextToSentinel(*text) : shown_sentinels[i];
  }
  return record;
}

}  // namespace pelgar::config
