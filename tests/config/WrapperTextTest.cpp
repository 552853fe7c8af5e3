#include <gtest/gtest.h>

#include <array>
#include <string>

#include "config/WrapperText.h"

namespace pelgar::config {
namespace {

// An escape left open at the end is dropped; only what the box holds is read. A refusal
// says where: at the character, or at the backslash of the escape.
TEST(DecodeWrapperText, TurnsEscapesIntoCharactersAndRefusesWhatCannotBeTyped) {
  const std::string full(kWrapperBoxChars, 'x');
  const struct {
    std::string box, decoded;  // the text, then " extra" or " refused@position"
  } kCases[] = {
      {"ABC\\035EF", "ABC#EF 3"}, {"ABCD\\\\EF", "ABCD\\EF 1"}, {"ABC\\12", "ABC 3"},
      {"AB\\", "AB 1"},           {"AB\\999", "AB refused@2"},  {"\\128", " refused@0"},
      {"\\031", " refused@0"},    {"A\\1\\", "A refused@1"},    {"\\1a2", " refused@0"},
      {"AB\xC8", "AB refused@2"}, {"A\tB", "A refused@1"},      {"", " 0"},
  };
  auto decode = [](const std::string& box, std::span<char> buffer) {
    std::fill(buffer.begin(), buffer.end(), '\0');
    int32_t extra = 0;
    size_t at = 0;
    const bool ok = DecodeWrapperText(box, buffer, extra, &at);
    return std::string(buffer.data()) + " " +
           (ok ? std::to_string(extra) : "refused@" + std::to_string(at));
  };
  std::array<char, kWrapperTextSize> buffer{};
  for (const auto& c : kCases) EXPECT_EQ(decode(c.box, buffer), c.decoded) << c.box;
  EXPECT_EQ(decode("\\032\\\\\\126\\127", buffer), " \\~\x7F 10");
  EXPECT_EQ(decode(full + "\\035", buffer), full + " 0");
  // Never past the caller's buffer.
  std::array<char, 5> small{};
  EXPECT_EQ(decode("ABCDEFG", std::span<char>(small.data(), 4)), "ABC refused@3");
  EXPECT_EQ(small[4], '\0');
}

TEST(FormatWrapperText, EscapesBackslashesAndUntypableBytes) {
  const std::pair<std::string_view, std::string_view> kCases[] = {
      {R"(A\B)", R"(A\\B)"},
      {"A\x07", "A\\007"},
      {"\xC8\x80\xFF", R"(\200\128\255)"},
      {"\x1F\x7F~ ", "\x1F\x7F~ "},  // 0x1F and 0x7F are shown as they are
      {std::string_view("AB\0C", 4), "AB"},
  };
  for (auto [wrapper, shown] : kCases) EXPECT_EQ(FormatWrapperText(wrapper), shown);
}

}  // namespace
}  // namespace pelgar::config
