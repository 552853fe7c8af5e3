#include <gtest/gtest.h>

#include <string>

#include "config/ConfigFile.h"
#include "config/ConfigFileLines.h"
#include "device/CommandFrame.h"

namespace pelgar::config {
namespace {

using namespace std::string_literals;

const std::string kStart =
    "Zyr MSR Configuration File\r\n5c%;+?\r\nZyr MSR Enhanced Configuration File\r\n";

// A whole reading as one line: the option byte, "E" for an enhanced section, the four
// sentinels ("_": empty, "-": unchanged), the wrappers in quotes and the two numbers
// ("-": left as they were).
std::string Read(std::string_view text) {
  const LoadedConfigFile f = ParseConfigFile(text);
  if (f.status != ConfigFileStatus::kOk) {
    return f.status == ConfigFileStatus::kBadHeader ? "bad header" : "no line 2";
  }
  auto hex = [](std::optional<uint8_t> b) {
    return b ? device::HexByte(*b, device::HexCase::kCapital) : "-";
  };
  auto text_of = [](const std::optional<std::string>& s) { return s ? "'" + *s + "'" : "-"; };
  std::string read = hex(f.option_byte) + (f.has_enhanced_section ? " E " : " ");
  for (const auto& s : f.sentinels) read += !s ? "-" : s->empty() ? "_" : *s;
  return read + " " + text_of(f.head_wrapper) + " " + text_of(f.tail_wrapper) + " " +
         hex(f.cr_byte) + " " + hex(f.wedge_language);
}

TEST(ConfigFileLines, ReadsLikeATextModeStream) {
  ConfigFileLines lines("ab\r\ncd\re\nlong line\nlast");
  EXPECT_EQ(lines.Read(79), "ab\n");     // CR LF arrives as one line feed
  EXPECT_EQ(lines.Read(79), "cd\re\n");  // a lone CR is an ordinary character
  EXPECT_EQ(lines.Read(4), "long");      // a longer line is split, its rest read next
  EXPECT_EQ(lines.Read(79), " line\n");
  EXPECT_EQ(lines.Read(79), "last");  // the last line needs no line end
  EXPECT_EQ(lines.Read(79), std::nullopt);
}

// An empty edit is written as a zero byte, and so is a line feed sentinel, which could not
// stay inside its line; both load back as empty edits in their places.
TEST(ConfigFileWriter, WritesSevenLinesThatLoadBackInPlace) {
  ConfigFileImage image{0x5C, {'%', '\n', '+', 0}, "AB\\\\", "\\035", 0x0F, std::nullopt};
  const std::string written = FormatConfigFile(image);
  EXPECT_EQ(written,
            "Zyr MSR Configuration File\r\n5c%\0+\0\r\nZyr MSR Enhanced Configuration "
            "File\r\n12H:AB\\\\\r\n12T:\\035\r\n13:0F\r\n15:\r\n"s);
  EXPECT_EQ(Read(written), "5C E %_+_ 'AB\\\\' '\\035' 0F -");
}

// Keys are found anywhere in their lines, values read at fixed positions. A line longer
// than one read is split, and its rest takes the next line's place.
TEST(ConfigFileReader, EachShapeOfFile) {
  const std::string fits(kMaxWrapperTextInFile, 'A');
  const std::string numbers = kStart + "12H:\r\n12T:\r\n";
  const std::pair<std::string, std::string> kCases[] = {
      {"", "bad header"},
      {"Zyr MSR Enhanced Configuration File\r\n5c\r\n", "bad header"},
      {"Zyr MSR Configuration File\r\n", "no line 2"},
      {"# Kestrel MSR Configuration File v2\r\n4C\r\n-- Kestrel MSR Enhanced Configuration "
       "File\r\n",
       "4C E -___ - - - -"},
      {"Zyr MSR Configuration File\n5c%;\n", "5C %;-_ - - - -"},
      {"Zyr MSR Configuration File" + std::string(60, ' ') + "\n",
       "00 " + std::string(4, ' ') + " - - - -"},
      {kStart + "12H:\r\n12T:A\\035", "5C E %;+? '' 'A\\035' - -"},
      {kStart + "x12H:ABC\r\n13:00\r\n", "5C E %;+? ':ABC' - - -"},
      {kStart + "12H:" + fits + "\r\n12T:B\r\n13:0F\r\n15:FF\r\n",
       "5C E %;+? '" + fits + "' 'B' 0F FF"},
      {kStart + "12H:" + fits + "A\r\n12T:B\r\n13:0F\r\n15:FF\r\n",
       "5C E %;+? '" + fits + "A' - - -"},
      {numbers + "13:0F\r\n15:7\r\n", "5C E %;+? '' '' 0F 07"},
      {numbers + "13:\r\n15:\r\n", "5C E %;+? '' '' 00 -"},
      {numbers + "13:0F\r\n15:", "5C E %;+? '' '' 0F -"},
      {numbers + "13:0F\r\n00\r\n", "5C E %;+? '' '' 0F -"},
      {numbers + "CR 13:0F\r\n15:01", "5C E %;+? '' '' 13 01"},
      {numbers + "13:+A\r\n15:g1\r\n", "5C E %;+? '' '' 0A 00"},  // as the C library reads hex
  };
  for (const auto& [text, read] : kCases) EXPECT_EQ(Read(text), read) << text;
}

// What a technician is told: why a file is refused, what was read leniently, and where a
// wrapper breaks a rule, by line and column as an editor counts them.
TEST(ConfigFileReader, SaysWhatItRefusesAndWhatItReadLeniently) {
  const std::string numbers = kStart + "12H:\r\n12T:\r\n";
  const std::pair<std::string, std::string> kCases[] = {
      {"", "line 1 has no configuration header||"},
      {"Zyr MSR Configuration File\r\n", "no line 2||"},
      {"Zyr MSR Configuration File\r\nZZ%;+?\r\n", "|line 2: no option byte, read as 00|"},
      {numbers + "13:ZZ\r\n15:ZZ\r\nmore\r\n",
       "|line 6: no hexadecimal digit after 13:, read as 00 / line 7: no hexadecimal digit "
       "after 15:, read as 00 / line 8: not read, nor any line after it|"},
      {numbers + "13:0F\r\n15:01\r\n\r\n \r\n", "||"},
      {kStart + "12H:AB\\999\r\n12T:\r\n",
       R"(||line 4: the escape at column 7 is not \ddd (032 to 127) or \\)"},
      {kStart + "12H:\r\n x12T:A\tB\r\n",
       "||line 5: the character at column 8 is not a printable character"},
      {kStart + "12H:ABCDEFGHIJKLMNO\r\n",
       "||line 4: the head wrapper is longer than 14 characters"},
      {kStart + "12H:ABCDEFGH\r\n12T:IJKLMNOP\r\n",
       "||line 5: the wrappers are longer than 14 characters together"},
      {kStart + "12H:ABCDEFGHIJKLMN\r\n12T:OP\r\n", "||"},  // 14 leave the other out
  };
  for (const auto& [text, told] : kCases) {
    const LoadedConfigFile file = ParseConfigFile(text);
    std::string warnings;
    for (const std::string& warning : file.warnings) {
      warnings += (warnings.empty() ? "" : " / ") + warning;
    }
    EXPECT_EQ(file.problem + "|" + warnings + "|" + WrapperProblem(file), told) << text;
  }
}

}  // namespace
}  // namespace pelgar::config
