#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pelgar::config {

// The reader's basic configuration: eight options packed into one option byte and four
// sentinel characters (track 1, 2, 3 start sentinels, then the end sentinel).
struct ConfigurationRecord {
  bool carriage_return = false;
  bool raw_data_mode = false;
  bool track1_enabled = false;
  bool track2_enabled = false;
  bool track3_enabled = false;
  bool strip_sentinels = false;
  bool custom_configuration = false;
  bool hide_error_tracks = false;
  std::array<uint8_t, 4> sentinels{};
};

// Option byte bits, bit 0 first. On the wire a set track bit disables the track; in a
// configuration file it enables it. Every other bit means the same in both.
inline constexpr uint8_t kCarriageReturnBit = 0x01;
inline constexpr uint8_t kRawDataModeBit = 0x02;
inline constexpr uint8_t kTrack1Bit = 0x04;
inline constexpr uint8_t kTrack2Bit = 0x08;
inline constexpr uint8_t kTrack3Bit = 0x10;
inline constexpr uint8_t kStripSentinelsBit = 0x20;
inline constexpr uint8_t kCustomConfigurationBit = 0x40;
inline constexpr uint8_t kHideErrorTracksBit = 0x80;

// The option byte as the reader sends and receives it (track bits inverted).
uint8_t EncodeOptionByte(const ConfigurationRecord& record);
void DecodeOptionByte(uint8_t option, ConfigurationRecord& record);

// The option byte as a configuration file stores it (track bits not inverted).
uint8_t EncodeFileOptionByte(const ConfigurationRecord& record);
void DecodeFileOptionByte(uint8_t option, ConfigurationRecord& record);

// The setting the reader works in when its custom configuration is not in use. Carriage
// return is the caller's: it follows the slide switch where that is known, and the window
// and a loaded file each know it differently.
inline constexpr std::array<uint8_t, 4> kDefaultSentinels = {'%', ';', '+', '?'};
ConfigurationRecord DefaultConfiguration(bool carriage_return);

// A sentinel as the one-character text of its edit; a zero byte is an empty text.
std::string SentinelToText(uint8_t sentinel);
// The first character of an edit's text, or 0 for an empty text.
uint8_t TextToSentinel(std::string_view text);

// Readers from this revision on know the enhanced settings. The revision text is compared
// as a C string (up to its first zero), so "REV 10.0" sorts below it.
inline constexpr std::string_view kEnhancedRevision = "REV 2.30";
bool SupportsEnhancedSettings(std::string_view revision);

}  // namespace pelgar::config
