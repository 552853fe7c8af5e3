#include <gtest/gtest.h>

#include "config/ConfigurationRecord.h"
#include "config/EnhancedSettings.h"
#include "config/LoadedConfiguration.h"

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
    DecodeFileOptionByte(static_cast<uint8_t>(value), record);
    EXPECT_EQ(EncodeFileOptionByte(record), value);
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

// What a loaded file stands for: the file's record under custom configuration (a sentinel it
// leaves out stays the shown one), else the default one with carriage return after the switch.
TEST(LoadedConfiguration, CustomOffMeansTheDefaultAndCarriageReturnFollowsTheSwitch) {
  const struct {
    std::string line;
    bool wedge, serial;
    std::string flags;
    std::string sentinels;
  } rows[] = {
      {"e3!#&*", false, false, "11000111", "!#&*"},
      {"e3!#&", false, true, "11000111", "!#&E"},   // the end sentinel left out
      {"9c!!!!", true, false, "10111000", "%;+?"},  // the switch overrules the file
      {"9d!!!!", false, true, "00111000", "%;+?"},
      {"9d!!!!", false, false, "10111000", "%;+?"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    LoadedConfigFile file = ParseConfigFile("Zyr MSR Configuration File\n" + row.line + "\n");
    ConfigurationRecord record =
        LoadedConfiguration(file, {'S', 'H', 'O', 'E'}, row.wedge, row.serial);
    EXPECT_EQ(Flags(record), row.flags);
    EXPECT_EQ(std::string(record.sentinels.begin(), record.sentinels.end()), row.sentinels);
  }
}

TEST(CarriageReturnBytes, CapitalModeIsBitFourOnTheReaderAndBitZeroInFiles) {
  EXPECT_EQ(EncodeReaderCrByte({true, true, true, true}), 0x1E);
  EXPECT_EQ(EncodeFileCrByte({true, false, false, true}), 0x03);
  EXPECT_EQ(ReaderCrToFileCr(0x12), 0x03);
  EXPECT_EQ(FileCrToReaderCr(0x0F), 0x1E);
  // Bits outside the four flags are dropped.
  EXPECT_EQ(ReaderCrToFileCr(0xE1), 0x00);
  EXPECT_EQ(FileCrToReaderCr(0xF0), 0x00);
}

}  // namespace
}  // namespace pelgar::config
