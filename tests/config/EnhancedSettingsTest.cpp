#include <gtest/gtest.h>

#include <array>

#include "config/EnhancedSettings.h"
#include "device/WrapperText.h"

namespace pelgar::config {
namespace {

TEST(FormatWrapperText, EscapesBackslashesAndUntypableBytes) {
  EXPECT_EQ(FormatWrapperText("A\\B"), "A\\\\B");
  EXPECT_EQ(FormatWrapperText("A\x07"), "A\\007");
  EXPECT_EQ(FormatWrapperText("\xC8\x80\xFF"), "\\200\\128\\255");
  // 0x1F and 0x7F are shown as they are.
  EXPECT_EQ(FormatWrapperText("\x1F\x7F~ "), "\x1F\x7F~ ");
  EXPECT_EQ(FormatWrapperText(std::string_view("AB\0C", 4)), "AB");
  EXPECT_EQ(FormatWrapperText(""), "");
}

TEST(FormatWrapperText, TypableWrappersDecodeBackUnchanged) {
  std::string_view wrapper = "A\\B#~ \x7F";
  std::array<char, device::kWrapperTextSize> decoded{};
  int32_t extra = 0;
  ASSERT_TRUE(device::DecodeWrapperText(FormatWrapperText(wrapper), decoded, extra));
  EXPECT_EQ(std::string_view(decoded.data()), wrapper);
  EXPECT_EQ(extra, 1);
  // A control byte can be shown but not typed back.
  decoded.fill('\0');
  EXPECT_FALSE(device::DecodeWrapperText(FormatWrapperText("A\x07"), decoded, extra));
}

TEST(WrapperLength, HeadAndTailShareFourteenCharacters) {
  EXPECT_EQ(WrapperBudget(10), 4u);
  EXPECT_EQ(WrapperBudget(14), 0u);
  EXPECT_EQ(WrapperBudget(20), 0u);
  EXPECT_EQ(WrapperBudget(0), 14u);
  EXPECT_TRUE(WrapperLengthsFit(10, 4));
  EXPECT_FALSE(WrapperLengthsFit(10, 5));
  EXPECT_FALSE(WrapperLengthsFit(15, 0));
}

TEST(CarriageReturnBytes, CapitalModeMovesBetweenBitFourAndBitZero) {
  CrFlags all{true, true, true, true};
  EXPECT_EQ(EncodeReaderCrByte(all), 0x1E);
  EXPECT_EQ(EncodeFileCrByte(all), 0x0F);
  EXPECT_EQ(ReaderCrToFileCr(0x1E), 0x0F);
  EXPECT_EQ(FileCrToReaderCr(0x0F), 0x1E);
  EXPECT_EQ(ReaderCrToFileCr(0x12), 0x03);
  // Bits outside the four flags are dropped.
  EXPECT_EQ(EncodeReaderCrByte(DecodeReaderCrByte(0xE1)), 0x00);
  EXPECT_EQ(ReaderCrToFileCr(0x01), 0x00);
}

TEST(WedgeLanguage, OnlyThreeCodesAreOffered) {
  EXPECT_TRUE(IsKnownWedgeLanguage(0x00));
  EXPECT_TRUE(IsKnownWedgeLanguage(0x01));
  EXPECT_TRUE(IsKnownWedgeLanguage(0xFF));
  EXPECT_FALSE(IsKnownWedgeLanguage(0x02));
}

TEST(CustomTable, ResetIndicesCoverTracksOneAndThree) {
  EXPECT_EQ(CustomTableCodeForIndex(0x0F), 0x0F);
  EXPECT_EQ(CustomTableCodeForIndex(kResetFirstIndex), 0x20);
  EXPECT_EQ(CustomTableCodeForIndex(kResetLastIndex), 0x5F);
}

}  // namespace
}  // namespace pelgar::config
