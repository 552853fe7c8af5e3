#include <gtest/gtest.h>

#include <array>
#include <string>

#include "device/WrapperText.h"

namespace pelgar::device {
namespace {

struct Decoded {
  bool ok;
  std::string text;
  int32_t extra;
};

Decoded Decode(std::string_view box) {
  std::array<char, kWrapperTextSize> buffer{};
  int32_t extra = -1;
  bool ok = DecodeWrapperText(box, buffer, extra);
  return {ok, std::string(buffer.data()), extra};
}

TEST(DecodeWrapperText, TurnsEscapesIntoCharacters) {
  Decoded hash = Decode("ABC\\035EF");
  EXPECT_TRUE(hash.ok);
  EXPECT_EQ(hash.text, "ABC#EF");
  EXPECT_EQ(hash.extra, 3);

  Decoded backslash = Decode("ABCD\\\\EF");
  EXPECT_TRUE(backslash.ok);
  EXPECT_EQ(backslash.text, "ABCD\\EF");
  EXPECT_EQ(backslash.extra, 1);

  EXPECT_EQ(Decode("\\127").text, "\x7F");
  EXPECT_EQ(Decode("\\032\\\\\\126").text, " \\~");
  EXPECT_EQ(Decode("\\032\\\\\\126").extra, 7);
}

TEST(DecodeWrapperText, AcceptsAnEmptyBox) {
  Decoded empty = Decode("");
  EXPECT_TRUE(empty.ok);
  EXPECT_EQ(empty.text, "");
  EXPECT_EQ(empty.extra, 0);
}

TEST(DecodeWrapperText, DropsAnEscapeLeftOpenAtTheEnd) {
  Decoded open = Decode("ABC\\12");
  EXPECT_TRUE(open.ok);
  EXPECT_EQ(open.text, "ABC");
  EXPECT_EQ(open.extra, 3);
  EXPECT_TRUE(Decode("AB\\").ok);
}

TEST(DecodeWrapperText, RefusesWhatCannotBeTyped) {
  EXPECT_FALSE(Decode("\\128").ok);
  EXPECT_FALSE(Decode("\\031").ok);
  EXPECT_FALSE(Decode("\\1\\").ok);  // a backslash after a digit
  EXPECT_FALSE(Decode("\\1a2").ok);
  EXPECT_FALSE(Decode("AB\xC8").ok);  // typed above 0x7F
  EXPECT_FALSE(Decode("A\tB").ok);
  // What came before the fault stays decoded.
  EXPECT_EQ(Decode("AB\\999").text, "AB");
}

TEST(DecodeWrapperText, ReadsOnlyWhatTheBoxHolds) {
  std::string box(kWrapperBoxChars, 'x');
  Decoded full = Decode(box + "\\035");
  EXPECT_TRUE(full.ok);
  EXPECT_EQ(full.text, box);
  EXPECT_EQ(full.extra, 0);
}

TEST(DecodeWrapperText, NeverWritesPastTheCallersBuffer) {
  std::array<char, 5> buffer{};
  buffer.fill('\0');
  int32_t extra = 0;
  EXPECT_FALSE(DecodeWrapperText("ABCDEFG", std::span<char>(buffer.data(), 4), extra));
  EXPECT_EQ(std::string(buffer.data()), "ABC");  // the caller's zero at [3] stays
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
