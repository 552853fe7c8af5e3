#include <gtest/gtest.h>

#include <random>
#include <string>

#include "config/ConfigFile.h"
#include "config/ConfigFileLines.h"

namespace pelgar::config {
namespace {

using namespace std::string_literals;

std::string Lines(std::initializer_list<std::string_view> lines, std::string_view end = "\r\n") {
  std::string text;
  for (std::string_view line : lines) text.append(line).append(end);
  return text;
}

const std::string kStart =
    Lines({"Zyr MSR Configuration File", "5c%;+?", "Zyr MSR Enhanced Configuration File"});

TEST(ConfigFileLines, ReadsLikeATextModeStream) {
  ConfigFileLines lines("ab\r\ncd\re\nlong line\nlast");
  EXPECT_EQ(lines.Read(79), "ab\n");     // CR LF arrives as one line feed
  EXPECT_EQ(lines.Read(79), "cd\re\n");  // a lone CR is an ordinary character
  EXPECT_EQ(lines.Read(4), "long");      // a longer line is split, its rest read next
  EXPECT_EQ(lines.Read(79), " line\n");
  EXPECT_EQ(lines.Read(79), "last");  // the last line needs no line end
  EXPECT_EQ(lines.Read(79), std::nullopt);
}

TEST(ConfigFileWriter, WritesTheSevenLinesWithCrLf) {
  ConfigFileImage image{0x5C, {'%', ';', '+', '?'}, "", "", 0x00, 0x01};
  EXPECT_EQ(FormatConfigFile(image),
            Lines({"Zyr MSR Configuration File", "5c%;+?", "Zyr MSR Enhanced Configuration File",
                   "12H:", "12T:", "13:00", "15:01"}));
  image = {0x5C, {'%', ';', '+', '?'}, "AB\\\\", "\\035", 0x0F, std::nullopt};
  EXPECT_EQ(FormatConfigFile(image), kStart + Lines({"12H:AB\\\\", "12T:\\035", "13:0F", "15:"}));
}

// An empty edit written as nothing would move the later sentinels one position left.
TEST(ConfigFileReader, EmptySentinelEditsLoadBackEmptyInPlace) {
  ConfigFileImage image{0x5C, {'%', 0, '+', 0}, "", "", 0x00, {}};
  std::string written = FormatConfigFile(image);
  EXPECT_NE(written.find("5c%\0+\0\r\n"s), std::string::npos);
  LoadedConfigFile file = ParseConfigFile(written);
  EXPECT_EQ(file.sentinels, (std::array<std::optional<std::string>, 4>{"%", "", "+", ""}));
  // A line feed sentinel cannot stay inside its line; the rest of the file survives.
  image.sentinels = {'%', '\n', '+', '?'};
  file = ParseConfigFile(FormatConfigFile(image));
  EXPECT_EQ(file.sentinels, (std::array<std::optional<std::string>, 4>{"%", "", "+", "?"}));
  EXPECT_TRUE(file.has_enhanced_section);
  // Position 4 is the line feed (edit unchanged), position 5 lies past the end (empty).
  file = ParseConfigFile("Zyr MSR Configuration File\n5c%;\n");
  EXPECT_EQ(file.sentinels,
            (std::array<std::optional<std::string>, 4>{"%", ";", std::nullopt, ""}));
}

TEST(ConfigFileReader, HeadersOfEitherBrandAnywhereInTheirLines) {
  const struct {
    std::string text;
    ConfigFileStatus status;
    bool enhanced;
  } kCases[] = {
      {Lines({"# Kestrel MSR Configuration File v2", "4C",
              "-- Kestrel MSR Enhanced Configuration File"}),
       ConfigFileStatus::kOk, true},
      {"Zyr MSR Configuration File\r\n5c", ConfigFileStatus::kOk, false},
      // A first line longer than one read leaves its rest as line 2.
      {"Zyr MSR Configuration File" + std::string(60, ' ') + "\n", ConfigFileStatus::kOk, false},
      {"", ConfigFileStatus::kBadHeader, false},
      {"Zyr MSR Enhanced Configuration File\r\n5c\r\n", ConfigFileStatus::kBadHeader, false},
      {"Zyr MSR Configuration File\r\n", ConfigFileStatus::kNoConfigurationLine, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    LoadedConfigFile file = ParseConfigFile(c.text);
    EXPECT_EQ(file.status, c.status);
    EXPECT_EQ(file.has_enhanced_section, c.enhanced);
    // A missing enhanced line leaves its part of the window untouched.
    EXPECT_FALSE(file.head_wrapper || file.tail_wrapper || file.cr_byte || file.wedge_language);
  }
  EXPECT_EQ(ParseConfigFile(kCases[0].text).option_byte, 0x4C);
}

// A wrapper line of 59 characters or more before its line end is split, and its rest
// shifts the later lines so that their keys are no longer where they are looked for.
TEST(ConfigFileReader, WrapperLinesAndTheirReadingLimit) {
  const std::string fits(kMaxWrapperTextInFile, 'A');
  const struct {
    std::string lines;
    std::optional<std::string> head, tail;
    std::optional<uint8_t> cr, language;
  } kCases[] = {
      {"12H:\r\n12T:A\\035", "", "A\\035", {}, {}},   // the last line keeps all its characters
      {"x12H:ABC\r\n13:00\r\n", ":ABC", {}, {}, {}},  // key anywhere, value at position 4
      {Lines({"12H:" + fits, "12T:B", "13:0F", "15:FF"}), fits, "B", 0x0F, 0xFF},
      {Lines({"12H:" + fits + "A", "12T:B", "13:0F", "15:FF"}), fits + "A", {}, {}, {}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.lines);
    LoadedConfigFile file = ParseConfigFile(kStart + c.lines);
    EXPECT_EQ(file.head_wrapper, c.head);
    EXPECT_EQ(file.tail_wrapper, c.tail);
    EXPECT_EQ(file.cr_byte, c.cr);
    EXPECT_EQ(file.wedge_language, c.language);
  }
}

TEST(ConfigFileReader, NumbersAtFixedPositionsInEitherCase) {
  const struct {
    std::string lines;
    std::optional<uint8_t> cr, language;
  } kCases[] = {
      {"13:0f\r\n15:ff\r\n", 0x0F, 0xFF}, {"13:0F\r\n15:7\r\n", 0x0F, 0x07},
      {"13:\r\n15:\r\n", 0x00, {}},       {"13:0F\r\n15:", 0x0F, {}},
      {"13:0F\r\n00\r\n", 0x0F, {}},      {"CR 13:0F\r\n15:01", 0x13, 0x01},  // read at position 3
      {"13:+A\r\n15:g1\r\n", 0x0A, 0x00},  // read the way the C library reads hexadecimal
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.lines);
    LoadedConfigFile file = ParseConfigFile(kStart + "12H:\r\n12T:\r\n" + c.lines);
    EXPECT_EQ(file.cr_byte, c.cr);
    EXPECT_EQ(file.wedge_language, c.language);
  }
}

TEST(ConfigFileReader, SurvivesArbitraryBytes) {
  std::mt19937 random(7);
  const std::string base = FormatConfigFile(ConfigFileImage{});
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = base;
    for (int i = 0, changes = 1 + static_cast<int>(random() % 8); i < changes; ++i) {
      bytes.insert(random() % (bytes.size() + 1),
                   std::string(random() % 70, static_cast<char>(random() % 256)));
    }
    LoadedConfigFile file = ParseConfigFile(bytes);
    for (const auto& sentinel : file.sentinels) EXPECT_LE(sentinel.value_or("").size(), 1u);
    EXPECT_LT(file.head_wrapper.value_or("").size(), kWrapperReadLimit);
  }
}

}  // namespace
}  // namespace pelgar::config
