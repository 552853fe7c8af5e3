#include <gtest/gtest.h>

#include "config/ConfigurationRecord.h"

namespace pelgar::config {
namespace {

// Carriage return, raw data, tracks 1 to 3 enabled, strip sentinels, custom, hide errors.
std::string Flags(const ConfigurationRecord& r) {
  std::string flags;
  for (bool flag :
       {r.carriage_return, r.raw_data_mode, r.track1_enabled, r.track2_enabled, r.track3_enabled,
        r.strip_sentinels, r.custom_configuration, r.hide_error_tracks}) {
    flags += flag ? '1' : '0';
  }
  return flags;
}

TEST(OptionByte, WireLayoutInvertsTheTrackBitsAndTheFileLayoutDoesNot) {
  ConfigurationRecord record;
  DecodeOptionByte(0xC5, record);
  EXPECT_EQ(Flags(record), "10011011");
  DecodeOptionByte(0x3A, record);
  EXPECT_EQ(Flags(record), "01100100");
  DecodeFileOptionByte(0x5C, record);
  EXPECT_EQ(Flags(record), "00111010");
  for (int value = 0; value < 256; ++value) {
    DecodeOptionByte(static_cast<uint8_t>(value), record);
    EXPECT_EQ(EncodeOptionByte(record), value);
    EXPECT_EQ(EncodeFileOptionByte(record), value ^ 0x1C) << value;
  }
}

// Compared as text, bytes unsigned, up to a zero: "REV 10.0" comes before "REV 2.30".
TEST(Revision, EnhancedSettingsFromRev230AsAStringComparison) {
  using namespace std::string_view_literals;
  for (auto [revision, supported] : {std::pair{"REV 2.30"sv, true},
                                     {"REV 2.3\xC8"sv, true},
                                     {"REV 10.0"sv, false},
                                     {"REV 2.2\0009"sv, false}}) {
    EXPECT_EQ(SupportsEnhancedSettings(revision), supported) << revision;
  }
}

}  // namespace
}  // namespace pelgar::config
