#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <tuple>

#include "sim/StateFile.h"
#include "support/TestEnvironment.h"

namespace pelgar::sim {
namespace {

// Every flash field as Format writes it: a field that Parse skipped or Format left out
// would come back different.
const std::string kEveryField =
    "# pelgar-sim reader flash\noption_byte 51\nsentinels 21 3B 2B 3F\nrevision REV 3.00\n"
    "head_wrapper 41072042\ntail_wrapper C8C8C8C8C8C8C8C8C8C8\ncr_byte 1E\nwedge_language FF\n"
    "custom_entry 00 79\ncustom_entry 41 78\nprogram 0000 FFFFFFFFFF00FFFFFFFFFFFFFFFFFFFF\n"
    "program 3FF0 12FFFFFFFFFFFFFFFFFFFFFFFFFFFFFF\n";

class StateFileSave : public ::testing::Test {
 protected:
  // A temporary file left behind would be one more.
  long Entries() const { return std::distance(std::filesystem::directory_iterator(dir_.root), {}); }

  platform::TempDir dir_;
  const std::string path_ = dir_.Put("reader.state", "option_byte 40\n");
  ReaderState state_;
};

TEST_F(StateFileSave, EveryFlashFieldSurvivesSaveAndLoadTheFileKeepingItsMode) {
  ReaderState loaded;
  bool existed = true;
  std::string error;
  EXPECT_TRUE(StateFile::Load(path_ + ".none", &loaded, &existed, &error));  // the defaults
  EXPECT_FALSE(existed);
  std::filesystem::permissions(path_, std::filesystem::perms(0600));
  ASSERT_TRUE(StateFile::Parse(kEveryField, &state_, &error)) << error;
  ASSERT_TRUE(StateFile::Save(path_, state_, &error)) << error;
  EXPECT_TRUE(StateFile::Load(path_, &loaded, &existed, &error)) << error;
  EXPECT_TRUE(existed);
  EXPECT_EQ(StateFile::Format(loaded), kEveryField);
  EXPECT_EQ(std::filesystem::status(path_).permissions(), std::filesystem::perms(0600));
  EXPECT_EQ(Entries(), 1);
  EXPECT_FALSE(StateFile::Load(dir_.root, &loaded, &existed, &error));  // not a file
}

// A save that fails (the file's own replacement keeps the old one) says which file.
TEST_F(StateFileSave, PathInAMissingFolderFailsAndCreatesNothing) {
  const std::string path = (dir_.root / "gone" / "reader.state").string();
  std::string error;
  EXPECT_FALSE(StateFile::Save(path, state_, &error));
  EXPECT_TRUE(error.starts_with(path)) << error;
  EXPECT_EQ(Entries(), 1);
}

// What a firmware update or a host can leave in flash: every byte value in the revision
// (0x00 and 0xFF among them, a trailing blank too), the wrappers (which never hold 0x00),
// the custom table and the program. (The single bytes are written as the table's are.)
TEST(StateFile, EveryByteValueTheReaderHoldsComesBackAsItWas) {
  auto fields = [](const ReaderState& s) {
    return std::make_tuple(s.revision, s.head_wrapper, s.tail_wrapper, s.custom_table, s.program);
  };
  for (unsigned base = 0; base < 256; base += 8) {
    ReaderState state;
    std::string bytes;
    for (unsigned i = 0; i < 8; ++i) bytes.push_back(static_cast<char>(base + 7 - i));
    state.revision = bytes;
    std::erase(bytes, '\0');
    state.head_wrapper = bytes;
    state.tail_wrapper = std::string(bytes.rbegin(), bytes.rend()).substr(0, 6);
    for (size_t i = 0; i < state.custom_table.size(); ++i)
      state.custom_table[i] = uint8_t(i + base);
    for (size_t i = 0; i < state.program.size(); ++i) state.program[i] = uint8_t(i + base + 1);
    ReaderState loaded;
    std::string error;
    EXPECT_TRUE(StateFile::Parse(StateFile::Format(state), &loaded, &error)) << error;
    EXPECT_TRUE(fields(loaded) == fields(state)) << std::hex << base;
  }
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
      {"revision_bytes 52455620322E333031\n", "line 1: a revision has at most 8 characters"},
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
