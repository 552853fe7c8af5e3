// What a replacing file does alike on every system: nothing changes before the commit, the
// bytes arrive as written, and a hard-linked file stays one file.
#include <filesystem>
#include <string>

#include "tests/platform/ReplacingFileCases.h"

namespace pelgar::platform {
namespace {

// CR LF line ends, a Ctrl-Z (the end of a file read as text), a NUL and bytes above 0x7F.
// Its length counted by the compiler, the NUL inside included, not by hand.
constexpr char kRawBytes[] = "SET 1\r\nLINE\r\n\x1a\0\xff\r\n";
const std::string kBytes(kRawBytes, sizeof kRawBytes - 1);

TEST_F(ReplacingFileTest, ReplacesOnlyWhenCommittedByteForByte) {
  {
    ReplacingFile file;
    ASSERT_TRUE(file.Open(target_) && file.Write("half"));
  }
  EXPECT_EQ(State(), "old 1");
  ReplacingFile file;
  ASSERT_TRUE(file.Open(target_) && file.Write(kBytes.substr(0, 7)) &&
              file.Write(kBytes.substr(7)));
  EXPECT_EQ(State(), "old 2");  // the temporary file beside it
  ASSERT_TRUE(file.Commit());
  EXPECT_FALSE(file.in_place());
  EXPECT_EQ(State(), kBytes + " 1");
  // A new file, and one at most the bytes asked.
  EXPECT_TRUE(Save(dir_ / "fresh.dat", "fresh"));
  EXPECT_EQ(ReadFileStart(dir_ / "fresh.dat", 3), "fre");
  EXPECT_EQ(ReadFileStart(dir_ / "fresh.dat", 0), "");
}

// A replacement would split a hard-linked file in two: it is rewritten instead, and every
// name of it shows the new content.
TEST_F(ReplacingFileTest, RewritesAHardLinkedFileInPlace) {
  std::filesystem::create_hard_link(target_, dir_ / "other.dat");
  ReplacingFile file;
  ASSERT_TRUE(file.Open(target_) && file.in_place());
  ASSERT_TRUE(file.Write(kBytes));
  EXPECT_EQ(ReadFileStart(target_, 100), "old");  // nothing is cut before the commit
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(ReadFileStart(dir_ / "other.dat", 100), kBytes);
  EXPECT_EQ(State(), kBytes + " 2");
}

}  // namespace
}  // namespace pelgar::platform
