#include <gtest/gtest.h>

#include <array>
#include <string>

#include "device/WrapperText.h"

namespace pelgar::device {
namespace {

TEST(DecodeWrapperText, TurnsEscapesIntoCharactersAndRefusesWhatCannotBeTyped) {
  const std::string full(kWrapperBoxChars, 'x');
  const struct {
    std::string box;
    bool ok;
    std::string text;  // on failure: what came before the fault
    int32_t extra;     // characters the escapes saved; checked on success
  } kCases[] = {
      {"ABC\\035EF", true, "ABC#EF", 3},
      {"ABCD\\\\EF", true, "ABCD\\EF", 1},
      {"\\032\\\\\\126\\127", true, " \\~\x7F", 10},
      {"", true, "", 0},
      {"ABC\\12", true, "ABC", 3},  // an escape left open at the end is dropped
      {"AB\\", true, "AB", 1},
      {full + "\\035", true, full, 0},  // only what the box holds is read
      {"AB\\999", false, "AB", 0},
      {"\\128", false, "", 0},
      {"\\031", false, "", 0},
      {"\\1\\", false, "", 0},  // a backslash after a digit
      {"\\1a2", false, "", 0},
      {"AB\xC8", false, "AB", 0},  // typed above 0x7F
      {"A\tB", false, "A", 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.box);
    std::array<char, kWrapperTextSize> buffer{};
    int32_t extra = -1;
    EXPECT_EQ(DecodeWrapperText(c.box, buffer, extra), c.ok);
    EXPECT_EQ(std::string(buffer.data()), c.text);
    if (c.ok) {
      EXPECT_EQ(extra, c.extra);
    }
  }
}

TEST(DecodeWrapperText, NeverWritesPastTheCallersBuffer) {
  std::array<char, 5> buffer{};
  int32_t extra = 0;
  EXPECT_FALSE(DecodeWrapperText("ABCDEFG", std::span<char>(buffer.data(), 4), extra));
  EXPECT_EQ(std::string(buffer.data()), "ABC");
  EXPECT_EQ(buffer[4], '\0');
}

TEST(WrapperEscapeHelp, ShowsTheEscapeFormsLiterally) {
  EXPECT_EQ(
      kWrapperEscapeHelp,
      R"(Please make sure the input of NON-TEXT characters and back-slash are following below format:
NON-TEXT format: "\ddd"
Back-slash format: "\\"
 - "\ddd" or "\\" is considered as 1 character
 - "ddd" MUST in decimal, range of 032 to 127

Example 1:
ABC\035EF
Means: ABC + # + EF

Example 2:
ABC\\EF
Means: ABC\EF)");
}

}  // namespace
}  // namespace pelgar::device
