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

TEST(ConfigFileLines, ReadsLikeATextModeStream) {
  ConfigFileLines lines("ab\r\ncd\re\nlast");
  EXPECT_EQ(lines.Read(79), "ab\n");     // CR LF arrives as one line feed
  EXPECT_EQ(lines.Read(79), "cd\re\n");  // a lone CR is an ordinary character
  EXPECT_EQ(lines.Read(79), "last");     // the last line needs no line end
  EXPECT_EQ(lines.Read(79), std::nullopt);
}

TEST(ConfigFileWriter, WritesTheSevenLinesWithCrLf) {
  ConfigFileImage image;
  image.option_byte = 0x5C;
  image.sentinels = {'%', ';', '+', '?'};
  image.wedge_language = 0x01;
  EXPECT_EQ(FormatConfigFile(image),
            Lines({"Zyr MSR Configuration File", "5c%;+?", "Zyr MSR Enhanced Configuration File",
                   "12H:", "12T:", "13:00", "15:01"}));

  image.head_wrapper = "AB\\\\";
  image.tail_wrapper = "\\035";
  image.cr_byte = 0x0F;
  image.wedge_language = 0xFF;
  std::string written = FormatConfigFile(image);
  EXPECT_EQ(written.substr(written.find("12H:")),
            Lines({"12H:AB\\\\", "12T:\\035", "13:0F", "15:FF"}));
  image.wedge_language.reset();
  written = FormatConfigFile(image);
  EXPECT_EQ(written.substr(written.size() - 5), "15:\r\n");
}

// An empty edit written as nothing would move the later sentinels one position left.
TEST(ConfigFileReader, EmptySentinelEditsLoadBackEmptyInPlace) {
  ConfigFileImage image;
  image.option_byte = 0x5C;
  image.sentinels = {'%', 0, '+', 0};
  std::string written = FormatConfigFile(image);
  EXPECT_NE(written.find("5c%\0+\0\r\n"s), std::string::npos);
  LoadedConfigFile file = ParseConfigFile(written);
  EXPECT_EQ(file.sentinels[0], "%");
  EXPECT_EQ(file.sentinels[1], "");
  EXPECT_EQ(file.sentinels[2], "+");
  EXPECT_EQ(file.sentinels[3], "");

  // A line feed sentinel cannot stay inside its line; the rest of the file survives.
  image.sentinels = {'%', '\n', '+', '?'};
  file = ParseConfigFile(FormatConfigFile(image));
  EXPECT_EQ(file.sentinels[1], "");
  EXPECT_EQ(file.sentinels[2], "+");
  EXPECT_TRUE(file.has_enhanced_section);
}

TEST(ConfigFileReader, TakesSentinelsFromFixedPositions) {
  // Position 4 is the line feed (edit unchanged), position 5 lies past the end (empty).
  LoadedConfigFile file = ParseConfigFile(Lines({"Zyr MSR Configuration File", "5c%;"}, "\n"));
  EXPECT_EQ(file.sentinels[0], "%");
  EXPECT_EQ(file.sentinels[1], ";");
  EXPECT_EQ(file.sentinels[2], std::nullopt);
  EXPECT_EQ(file.sentinels[3], "");
}

TEST(ConfigFileReader, AcceptsEitherBrandAnywhereInTheHeaderLines) {
  LoadedConfigFile file = ParseConfigFile(Lines(
      {"# Kestrel MSR Configuration File v2", "4C", "-- Kestrel MSR Enhanced Configuration File"}));
  EXPECT_EQ(file.status, ConfigFileStatus::kOk);
  EXPECT_EQ(file.option_byte, 0x4C);
  EXPECT_TRUE(file.has_enhanced_section);
  EXPECT_EQ(file.head_wrapper, std::nullopt);  // lines 4 to 7 missing: all untouched
  EXPECT_EQ(file.cr_byte, std::nullopt);
  EXPECT_EQ(file.wedge_language, std::nullopt);
}

TEST(ConfigFileReader, ReportsBadHeaderAndMissingConfigurationLine) {
  EXPECT_EQ(ParseConfigFile("").status, ConfigFileStatus::kBadHeader);
  EXPECT_EQ(ParseConfigFile("Zyr MSR Enhanced Configuration File\r\n5c\r\n").status,
            ConfigFileStatus::kBadHeader);
  EXPECT_EQ(ParseConfigFile("Zyr MSR Configuration File\r\n").status,
            ConfigFileStatus::kNoConfigurationLine);
  // A first line longer than one read leaves its rest as line 2.
  LoadedConfigFile file =
      ParseConfigFile("Zyr MSR Configuration File" + std::string(60, ' ') + "\n");
  EXPECT_EQ(file.status, ConfigFileStatus::kOk);
  EXPECT_FALSE(file.has_enhanced_section);
}

TEST(ConfigFileReader, WrapperLines) {
  const std::string start =
      Lines({"Zyr MSR Configuration File", "5c%;+?", "Zyr MSR Enhanced Configuration File"});
  LoadedConfigFile file = ParseConfigFile(start + "12H:\r\n" + "12T:A\\035");
  EXPECT_EQ(file.head_wrapper, "");        // nothing after the key: no wrapper
  EXPECT_EQ(file.tail_wrapper, "A\\035");  // the last line keeps all its characters

  file = ParseConfigFile(start + "x12H:ABC\r\n" + "13:00\r\n");
  EXPECT_EQ(file.head_wrapper, ":ABC");  // the key anywhere, the value at position 4
  EXPECT_EQ(file.tail_wrapper, std::nullopt);
}

// A wrapper line of 59 characters or more before its line end is split, and its rest
// shifts the later lines so that their keys are no longer where they are looked for.
TEST(ConfigFileReader, OverlongWrapperLineShiftsTheLinesAfterIt) {
  const std::string start =
      Lines({"Zyr MSR Configuration File", "5c%;+?", "Zyr MSR Enhanced Configuration File"});
  std::string head(56, 'A');
  LoadedConfigFile file =
      ParseConfigFile(start + Lines({"12H:" + head, "12T:B", "13:0F", "15:FF"}));
  EXPECT_EQ(file.head_wrapper, std::string(55, 'A'));
  EXPECT_EQ(file.tail_wrapper, std::nullopt);  // line 5 read is "A\n"
  EXPECT_EQ(file.cr_byte, std::nullopt);       // line 6 read is "12T:B"
  EXPECT_EQ(file.wedge_language, std::nullopt);

  // One character fewer fits a single read whole.
  head.resize(kMaxWrapperTextInFile);
  file = ParseConfigFile(start + Lines({"12H:" + head, "12T:B", "13:0F", "15:FF"}));
  EXPECT_EQ(file.head_wrapper, head);
  EXPECT_EQ(file.tail_wrapper, "B");
  EXPECT_EQ(file.wedge_language, 0xFF);
}

TEST(ConfigFileReader, NumbersAtFixedPositions) {
  const std::string start = Lines({"Zyr MSR Configuration File", "5c%;+?",
                                   "Zyr MSR Enhanced Configuration File", "12H:", "12T:"});
  auto load = [&](std::string_view cr, std::string_view language) {
    return ParseConfigFile(start + Lines({cr, language}));
  };
  EXPECT_EQ(load("13:0f", "15:ff").cr_byte, 0x0F);
  EXPECT_EQ(load("13:0f", "15:ff").wedge_language, 0xFF);
  EXPECT_EQ(load("13:0F", "15:7").wedge_language, 0x07);
  EXPECT_EQ(load("13:0F", "15:02").wedge_language, 0x02);
  EXPECT_EQ(load("13:0F", "15:").wedge_language, std::nullopt);
  EXPECT_EQ(ParseConfigFile(start + "13:0F\r\n15:").wedge_language, std::nullopt);
  EXPECT_EQ(load("13:0F", "00").wedge_language, std::nullopt);
  EXPECT_EQ(load("13:", "15:01").cr_byte, 0x00);
  EXPECT_EQ(load("CR 13:0F", "15:01").cr_byte, 0x13);  // value read at position 3
}

TEST(ConfigFileReader, ReadsHexLikeTheCLibrary) {
  EXPECT_EQ(ParseHexPair('4', 'c'), 0x4C);
  EXPECT_EQ(ParseHexPair('4', 'C'), 0x4C);
  EXPECT_EQ(ParseHexPair(' ', '7'), 0x07);
  EXPECT_EQ(ParseHexPair('+', 'A'), 0x0A);
  EXPECT_EQ(ParseHexPair('7', '\n'), 0x07);
  EXPECT_EQ(ParseHexPair('g', '1'), 0x00);
  EXPECT_EQ(ParseHexPair('\0', '\0'), 0x00);
}

TEST(ConfigFileReader, SurvivesArbitraryBytes) {
  std::mt19937 random(7);
  std::string base = FormatConfigFile(ConfigFileImage{});
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = base;
    int changes = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < changes; ++i) {
      size_t at = random() % (bytes.size() + 1);
      bytes.insert(at, std::string(random() % 70, static_cast<char>(random() % 256)));
    }
    LoadedConfigFile file = ParseConfigFile(bytes);
    for (const auto& sentinel : file.sentinels) EXPECT_LE(sentinel.value_or("").size(), 1u);
    EXPECT_LT(file.head_wrapper.value_or("").size(), kWrapperReadLimit);
  }
}

}  // namespace
}  // namespace pelgar::config
