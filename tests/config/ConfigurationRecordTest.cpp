#include <gtest/gtest.h>

#include "config/ConfigurationRecord.h"

namespace pelgar::config {
namespace {

TEST(OptionByte, DecodesTheWireLayoutWithInvertedTrackBits) {
  ConfigurationRecord record;
  DecodeOptionByte(0xC5, record);
  EXPECT_TRUE(record.carriage_return);
  EXPECT_FALSE(record.raw_data_mode);
  EXPECT_FALSE(record.track1_enabled);
  EXPECT_TRUE(record.track2_enabled);
  EXPECT_TRUE(record.track3_enabled);
  EXPECT_FALSE(record.strip_sentinels);
  EXPECT_TRUE(record.custom_configuration);
  EXPECT_TRUE(record.hide_error_tracks);

  DecodeOptionByte(0x00, record);
  EXPECT_TRUE(record.track1_enabled && record.track2_enabled && record.track3_enabled);
  EXPECT_FALSE(record.carriage_return || record.raw_data_mode || record.strip_sentinels ||
               record.custom_configuration || record.hide_error_tracks);
}

TEST(OptionByte, EncodesTheWireLayout) {
  ConfigurationRecord record;
  DecodeOptionByte(0x1C, record);
  EXPECT_FALSE(record.track1_enabled || record.track2_enabled || record.track3_enabled);
  EXPECT_EQ(EncodeOptionByte(record), 0x1C);

  ConfigurationRecord custom;
  custom.custom_configuration = true;
  custom.carriage_return = true;
  custom.track1_enabled = true;
  custom.track2_enabled = true;
  EXPECT_EQ(EncodeOptionByte(custom), 0x51);
  for (int value = 0; value < 256; ++value) {
    DecodeOptionByte(static_cast<uint8_t>(value), record);
    ASSERT_EQ(EncodeOptionByte(record), value);
  }
}

TEST(OptionByte, FileLayoutKeepsTrackBitsUninverted) {
  ConfigurationRecord record;
  DecodeFileOptionByte(0x5C, record);
  EXPECT_TRUE(record.custom_configuration);
  EXPECT_TRUE(record.track1_enabled && record.track2_enabled && record.track3_enabled);
  EXPECT_FALSE(record.carriage_return || record.raw_data_mode || record.strip_sentinels ||
               record.hide_error_tracks);
  EXPECT_EQ(EncodeFileOptionByte(record), 0x5C);
  EXPECT_EQ(EncodeOptionByte(record), 0x40);
}

TEST(DefaultConfiguration, CarriageReturnFollowsTheSlideSwitch) {
  ConfigurationRecord record;
  DecodeOptionByte(0xFF, record);
  record.sentinels = {1, 2, 3, 4};
  ApplyDefaultConfiguration(record, /*wedge_position=*/true, /*serial_position=*/false);
  EXPECT_TRUE(record.carriage_return);
  EXPECT_EQ(EncodeOptionByte(record), 0x01);
  EXPECT_EQ(record.sentinels, (std::array<uint8_t, 4>{'%', ';', '+', '?'}));

  ApplyDefaultConfiguration(record, false, true);
  EXPECT_FALSE(record.carriage_return);
  ApplyDefaultConfiguration(record, false, false);
  EXPECT_FALSE(record.carriage_return);  // neither known: left as it was
  record.carriage_return = true;
  ApplyDefaultConfiguration(record, false, false);
  EXPECT_TRUE(record.carriage_return);
}

TEST(Sentinels, ZeroIsAnEmptyText) {
  EXPECT_EQ(SentinelToText('%'), "%");
  EXPECT_EQ(SentinelToText(0), "");
  EXPECT_EQ(TextToSentinel(""), 0);
  EXPECT_EQ(TextToSentinel(";x"), ';');
}

TEST(Revision, EnhancedSettingsFromRev230AsAStringComparison) {
  EXPECT_TRUE(SupportsEnhancedSettings("REV 2.30"));
  EXPECT_TRUE(SupportsEnhancedSettings("REV 2.31"));
  EXPECT_TRUE(SupportsEnhancedSettings("REV 3.00"));
  EXPECT_FALSE(SupportsEnhancedSettings("REV 2.29"));
  EXPECT_FALSE(SupportsEnhancedSettings("REV 1.99"));
  EXPECT_FALSE(SupportsEnhancedSettings("REV 10.0"));
  EXPECT_FALSE(SupportsEnhancedSettings(""));
  // Only the text up to its zero counts, as in the session's revision field.
  EXPECT_FALSE(
      SupportsEnhancedSettings(std::string_view("REV 2.2\0"
                                                "9",
                                                9)));
  EXPECT_TRUE(SupportsEnhancedSettings("REV 2.3\xC8"));  // bytes compare unsigned
}

}  // namespace
}  // namespace pelgar::config
