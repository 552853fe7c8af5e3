#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "sim/StateFile.h"

namespace pelgar::sim {
namespace {

TEST(StateFile, EveryFlashFieldSurvivesSaveAndLoad) {
  ReaderState original;
  original.option_byte = 0x51;
  original.sentinels = {'!', ';', '+', '?'};
  original.revision = "REV 3.00";
  original.head_wrapper = "A\x07 B";
  original.tail_wrapper = std::string(10, '\xC8');
  original.cr_byte = 0x1E;
  original.wedge_language = 0xFF;
  original.custom_table[0x41] = 'x';
  original.custom_table[0x00] = 'y';
  original.program[0x3FF0] = 0x12;
  original.program[0x0005] = 0x00;

  char directory[] = "/tmp/pelgar-state-XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  const std::string path = std::string(directory) + "/reader.state";
  ReaderState loaded;
  bool existed = true;
  std::string error;
  EXPECT_TRUE(StateFile::Load(path, &loaded, &existed, &error));  // none yet: the defaults
  EXPECT_FALSE(existed);
  EXPECT_TRUE(StateFile::Save(path, original, &error)) << error;
  EXPECT_TRUE(StateFile::Load(path, &loaded, &existed, &error)) << error;
  EXPECT_TRUE(existed);
  EXPECT_FALSE(StateFile::Load(directory, &loaded, &existed, &error));  // not a file
  std::filesystem::remove_all(directory);

  const auto flash = [](const ReaderState& s) {
    return std::tie(s.option_byte, s.sentinels, s.revision, s.head_wrapper, s.tail_wrapper,
                    s.cr_byte, s.wedge_language, s.custom_table, s.program);
  };
  EXPECT_TRUE(flash(loaded) == flash(original)) << StateFile::Format(loaded);
}

TEST(StateFile, ReadsHandWrittenFilesAndNamesTheLineOfAMistake) {
  ReaderState state;
  std::string error;
  ASSERT_TRUE(StateFile::Parse(
      "# mine\r\noption_byte c5  \r\nsentinels 253B2B3F\r\nrevision REV 2.2\r\nhead_wrapper\r\n",
      &state, &error))
      << error;
  EXPECT_EQ(state.option_byte, 0xC5);
  EXPECT_EQ(state.sentinels[1], ';');
  EXPECT_EQ(state.revision, "REV 2.2");

  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {"option_byte 40\nspeed 9600\n", "line 2: unknown entry \"speed\""},
      {"option_byte 4G\n", "line 1: expected hexadecimal bytes"},
      {"option_byte 40 41\n", "line 1: expected 1 byte(s)"},
      {"sentinels 25 3B 2B\n", "line 1: expected 4 byte(s)"},
      {"# comment\n\nrevision REV 12.345\n", "line 3: a revision has at most 8 characters"},
      {"head_wrapper 414141414141414141414141414141\n", "line 1: a wrapper has at most 14"},
      {"tail_wrapper 4100\n", "line 1: a wrapper cannot hold the byte 00"},
      {"program 3FF8 00112233445566778899AABBCCDDEEFF\n", "line 1: program lines start"},
      {"program 4000 00112233445566778899AABBCCDDEEFF\n", "line 1: program lines start"},
      {"custom_entry 41\n", "line 1: expected 2 byte(s)"},
      {std::string(5000, 'a'), "line 1: too long"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 60));
    ReaderState untouched;
    EXPECT_FALSE(StateFile::Parse(c.text, &untouched, &error));
    EXPECT_TRUE(error.starts_with(c.error)) << error;
    EXPECT_EQ(untouched.option_byte, 0x00);
  }
}

}  // namespace
}  // namespace pelgar::sim
