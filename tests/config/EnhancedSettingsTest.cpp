#include <gtest/gtest.h>

#include <array>

#include "config/EnhancedSettings.h"
#include "device/WrapperText.h"

namespace pelgar::config {
namespace {

TEST(FormatWrapperText, EscapesBackslashesAndUntypableBytesAndDecodesBack) {
  const std::pair<std::string_view, std::string_view> kCases[] = {
      {"A\\B", "A\\\\B"},
      {"A\x07", "A\\007"},
      {"\xC8\x80\xFF", "\\200\\128\\255"},
      {"\x1F\x7F~ ", "\x1F\x7F~ "},  // 0x1F and 0x7F are shown as they are
      {std::string_view("AB\0C", 4), "AB"},
  };
  for (auto [wrapper, shown] : kCases) EXPECT_EQ(FormatWrapperText(wrapper), shown);

  std::string_view typable = "A\\B#~ \x7F";
  std::array<char, device::kWrapperTextSize> decoded{};
  int32_t extra = 0;
  ASSERT_TRUE(device::DecodeWrapperText(FormatWrapperText(typable), decoded, extra));
  EXPECT_EQ(std::string_view(decoded.data()), typable);
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
