#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "sim/StateFile.h"

namespace pelgar::sim {
namespace {

// Every flash field as Format writes it: a field that Parse skipped or Format left out
// would come back different.
const std::string kEveryField =
    "# pelgar-sim reader flash\noption_byte 51\nsentinels 21 3B 2B 3F\nrevision REV 3.00\n"
    "head_wrapper 41072042\ntail_wrapper C8C8C8C8C8C8C8C8C8C8\ncr_byte 1E\nwedge_language FF\n"
    "custom_entry 00 79\ncustom_entry 41 78\nprogram 0000 FFFFFFFFFF00FFFFFFFFFFFFFFFFFFFF\n"
    "program 3FF0 12FFFFFFFFFFFFFFFFFFFFFFFFFFFFFF\n";

TEST(StateFile, EveryFlashFieldSurvivesSaveAndLoad) {
  char directory[] = "/tmp/pelgar-state-XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  const std::string path = std::string(directory) + "/reader.state";
  ReaderState state;
  bool existed = true;
  std::string error;
  EXPECT_TRUE(StateFile::Load(path, &state, &existed, &error));  // none yet: the defaults
  EXPECT_FALSE(existed);
  ASSERT_TRUE(StateFile::Parse(kEveryField, &state, &error)) << error;
  EXPECT_TRUE(StateFile::Save(path, state, &error)) << error;
  ReaderState loaded;
  EXPECT_TRUE(StateFile::Load(path, &loaded, &existed, &error) && existed) << error;
  EXPECT_EQ(StateFile::Format(loaded), kEveryField);
  EXPECT_FALSE(StateFile::Load(directory, &loaded, &existed, &error));  // not a file
  std::filesystem::remove_all(directory);
}

TEST(StateFile, ReadsHandWrittenFilesAndNamesTheLineOfAMistake) {
  ReaderState state;
  std::string error;
  ASSERT_TRUE(StateFile::Parse(
      "# mine\r\noption_byte c5  \r\nsentinels 253B2B3F\r\nrevision REV 2.2\r\nhead_wrapper\r\n",
      &state, &error))
      << error;
  EXPECT_EQ(StateFile::Format(state),
            "# pelgar-sim reader flash\noption_byte C5\nsentinels 25 3B 2B 3F\nrevision REV 2.2\n"
            "head_wrapper\ntail_wrapper\ncr_byte 00\nwedge_language 01\n");
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
    ReaderState untouched;
    EXPECT_FALSE(StateFile::Parse(c.text, &untouched, &error)) << c.text.substr(0, 60);
    EXPECT_TRUE(error.starts_with(c.error)) << error;
    EXPECT_EQ(untouched.option_byte, 0x00);
  }
}

}  // namespace
}  // namespace pelgar::sim
