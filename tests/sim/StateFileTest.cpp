#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "sim/StateFile.h"

namespace pelgar::sim {
namespace {

ReaderState ChangedState() {
  ReaderState state;
  state.option_byte = 0x51;
  state.sentinels = {'%', ';', '+', '?'};
  state.revision = "REV 3.00";
  state.head_wrapper = "A\x07 B";
  state.tail_wrapper = std::string(14, '\xC8');
  state.cr_byte = 0x1E;
  state.wedge_language = 0xFF;
  state.custom_table[0x41] = 'x';
  state.custom_table[0x00] = 'y';
  state.program[0x3FF0] = 0x12;
  state.program[0x0005] = 0x00;
  return state;
}

TEST(StateFile, RoundTripKeepsEveryFlashField) {
  const ReaderState original = ChangedState();
  ReaderState loaded;
  std::string error;
  ASSERT_TRUE(StateFile::Parse(StateFile::Format(original), &loaded, &error)) << error;
  EXPECT_EQ(loaded.option_byte, original.option_byte);
  EXPECT_EQ(loaded.sentinels, original.sentinels);
  EXPECT_EQ(loaded.revision, original.revision);
  EXPECT_EQ(loaded.head_wrapper, original.head_wrapper);
  EXPECT_EQ(loaded.tail_wrapper, original.tail_wrapper);
  EXPECT_EQ(loaded.cr_byte, original.cr_byte);
  EXPECT_EQ(loaded.wedge_language, original.wedge_language);
  EXPECT_EQ(loaded.custom_table, original.custom_table);
  EXPECT_EQ(loaded.program, original.program);
}

TEST(StateFile, SaveAndLoadThroughAFile) {
  char directory[] = "/tmp/pelgar-state-XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  const std::string path = std::string(directory) + "/reader.state";
  ReaderState loaded;
  bool existed = true;
  std::string error;
  ASSERT_TRUE(StateFile::Load(path, &loaded, &existed, &error));
  EXPECT_FALSE(existed);
  ASSERT_TRUE(StateFile::Save(path, ChangedState(), &error)) << error;
  ASSERT_TRUE(StateFile::Load(path, &loaded, &existed, &error)) << error;
  EXPECT_TRUE(existed);
  EXPECT_EQ(loaded.revision, "REV 3.00");
  EXPECT_EQ(loaded.program[0x3FF0], 0x12);
  // A directory where the file should be is an error, not an empty reader.
  EXPECT_FALSE(StateFile::Load(directory, &loaded, &existed, &error));
  unlink(path.c_str());
  rmdir(directory);
}

TEST(StateFile, MalformedLinesAreReportedWithTheirNumberAndChangeNothing) {
  const struct {
    const char* text;
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
      {"option_byte 4\n", "line 1: expected hexadecimal bytes"},
  };
  for (const auto& c : cases) {
    ReaderState state;
    std::string error;
    EXPECT_FALSE(StateFile::Parse(c.text, &state, &error)) << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave: " << error;
    EXPECT_EQ(state.option_byte, 0x00) << c.text;
  }
  ReaderState state;
  std::string error;
  EXPECT_FALSE(StateFile::Parse(std::string(5000, 'a'), &state, &error));
  EXPECT_EQ(error, "line 1: too long");
}

TEST(StateFile, AcceptsHandWrittenFiles) {
  ReaderState state;
  std::string error;
  ASSERT_TRUE(
      StateFile::Parse("# mine\r\noption_byte c5  \r\nsentinels 253B2B3F\r\n"
                       "revision REV 2.2\r\nhead_wrapper\r\n",
                       &state, &error))
      << error;
  EXPECT_EQ(state.option_byte, 0xC5);
  EXPECT_EQ(state.sentinels[1], ';');
  EXPECT_EQ(state.revision, "REV 2.2");
}

}  // namespace
}  // namespace pelgar::sim
