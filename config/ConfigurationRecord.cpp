#include "config/ConfigurationRecord.h"

namespace pelgar::config {
namespace {

uint8_t Bit(bool on, uint8_t mask) { return on ? mask : 0; }

// Everything but the track bits, which the two layouts store differently.
uint8_t CommonBits(const ConfigurationRecord& record) {
  return Bit(record.carriage_return, kCarriageReturnBit) |
         Bit(record.raw_data_mode, kRawDataModeBit) |
         Bit(record.strip_sentinels, kStripSentinelsBit) |
         Bit(record.custom_configuration, kCustomConfigurationBit) |
         Bit(record.hide_error_tracks, kHideErrorTracksBit);
}

void DecodeCommonBits(uint8_t option, ConfigurationRecord& record) {
  record.carriage_return = (option & kCarriageReturnBit) != 0;
  record.raw_data_mode = (option & kRawDataModeBit) != 0;
  record.strip_sentinels = (option & kStripSentinelsBit) != 0;
  record.custom_configuration = (option & kCustomConfigurationBit) != 0;
  record.hide_error_tracks = (option & kHideErrorTracksBit) != 0;
}

}  // namespace

uint8_t EncodeOptionByte(const ConfigurationRecord& record) {
  return CommonBits(record) | Bit(!record.track1_enabled, kTrack1Bit) |
         Bit(!record.track2_enabled, kTrack2Bit) | Bit(!record.track3_enabled, kTrack3Bit);
}

void DecodeOptionByte(uint8_t option, ConfigurationRecord& record) {
  DecodeCommonBits(option, record);
  record.track1_enabled = (option & kTrack1Bit) == 0;
  record.track2_enabled = (option & kTrack2Bit) == 0;
  record.track3_enabled = (option & kTrack3Bit) == 0;
}

uint8_t EncodeFileOptionByte(const ConfigurationRecord& record) {
  return CommonBits(record) | Bit(record.track1_enabled, kTrack1Bit) |
         Bit(record.track2_enabled, kTrack2Bit) | Bit(record.track3_enabled, kTrack3Bit);
}

void DecodeFileOptionByte(uint8_t option, ConfigurationRecord& record) {
  DecodeCommonBits(option, record);
  record.track1_enabled = (option & kTrack1Bit) != 0;
  record.track2_enabled = (option & kTrack2Bit) != 0;
  record.track3_enabled = (option & kTrack3Bit) != 0;
}

ConfigurationRecord DefaultConfiguration(bool carriage_return) {
  ConfigurationRecord record;
  record.carriage_return = carriage_return;
  record.track1_enabled = true;
  record.track2_enabled = true;
  record.track3_enabled = true;
  record.sentinels = kDefaultSentinels;
  return record;
}

std::string SentinelToText(uint8_t sentinel) {
  if (sentinel == 0) return {};
  return {static_cast<char>(sentinel)};
}

uint8_t TextToSentinel(std::string_view text) {
  return text.empty() ? 0 : static_cast<uint8_t>(text.front());
}

bool SupportsEnhancedSettings(std::string_view revision) {
  // char_traits<char> compares as unsigned char, like strcmp.
  return revision.substr(0, revision.find('\0')) >= kEnhancedRevision;
}

}  // namespace pelgar::config
