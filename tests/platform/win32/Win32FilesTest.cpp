// Files on Windows: read and replaced byte for byte (the callers write their own CR LF),
// named in UTF-8, and a file that may not be replaced is left exactly as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/Files.h"
#include "platform/ReplacingFile.h"
#include "support/TestEnvironment.h"

namespace pelgar::platform {
namespace {

namespace fs = std::filesystem;

// CR LF line ends, a Ctrl-Z (the end of a file read as text) and bytes above 0x7F.
// Its length counted by the compiler, the NUL inside included, not by hand.
constexpr char kRawBytes[] = "SET 1\r\nLINE\r\n\x1a\0\xff\r\n";
const std::string kBytes(kRawBytes, sizeof kRawBytes - 1);

bool Save(const std::string& path, std::string_view content) {
  ReplacingFile file;
  return file.Open(path) && file.Write(content) && file.Commit();
}

class Win32FilesTest : public ::testing::Test {
 protected:
  void SetUp() override { std::ofstream(fs::path(target_), std::ios::binary) << "old"; }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(target_, fs::perms::owner_write, fs::perm_options::add, ignored);
  }
  // The target's content and the number of entries: no temporary file may be left behind.
  std::string State() const {
    return ReadFileStart(target_, 100).value_or("<none>") + " " +
           std::to_string(std::distance(fs::directory_iterator(dir_.root), {}));
  }

  TempDir dir_;
  const std::string target_ = dir_ / "CONFIG.DAT";
};

TEST_F(Win32FilesTest, ReplacesOnlyWhenCommittedByteForByte) {
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
  EXPECT_EQ(fs::file_size(target_), kBytes.size());
  // A new file, and one at most the bytes asked.
  EXPECT_TRUE(Save(dir_ / "fresh.dat", "fresh"));
  EXPECT_EQ(ReadFileStart(dir_ / "fresh.dat", 3), "fre");
  EXPECT_EQ(ReadFileStart(dir_ / "fresh.dat", 0), "");
}

// A read-only file, a folder and a device are refused with a reason and left as they are;
// so is a file in a folder that does not exist.
TEST_F(Win32FilesTest, RefusesWhatMayNotBeWrittenAndLeavesItAsItIs) {
  fs::permissions(target_,
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  ReplacingFile file;
  EXPECT_FALSE(file.Open(target_));
  EXPECT_EQ(file.error().rfind(target_ + ": ", 0), 0u) << file.error();
  EXPECT_FALSE(file.Write("new") || file.Commit());
  EXPECT_EQ(State(), "old 1");

  fs::create_directory(dir_ / "folder");
  for (const std::string& other :
       {dir_ / "folder", std::string("NUL"), std::string(R"(\\.\COM1)")}) {
    EXPECT_FALSE(file.Open(other));
    EXPECT_EQ(file.error(), other + ": not a regular file");
  }
  EXPECT_TRUE(fs::is_directory(dir_ / "folder"));
  EXPECT_FALSE(file.Open(dir_ / "none\\new.dat"));
  EXPECT_NE(file.error().find("none"), std::string::npos) << file.error();
  EXPECT_EQ(State(), "old 2");
}

// Another program holds the file without letting it be replaced: the commit fails, the old
// content stays, and the temporary file is gone.
TEST_F(Win32FilesTest, FailedReplacementKeepsTheOldFileAndNoTemporary) {
  ReplacingFile file;
  ASSERT_TRUE(file.Open(target_) && file.Write("new"));
  {
    std::ifstream holder(fs::path(target_), std::ios::binary);
    ASSERT_TRUE(holder.is_open());
    EXPECT_FALSE(file.Commit());
  }
  EXPECT_EQ(file.error().rfind(target_ + ": ", 0), 0u) << file.error();
  EXPECT_EQ(ReadFileStart(target_, 100), "old");
  EXPECT_FALSE(file.Commit());  // a failed file stays failed
  // Wine's ReplaceFileW leaves behind the empty rf*.tmp that it made to move the target
  // aside; Windows' makes none. Ours is named after the target.
  for (const fs::directory_entry& entry : fs::directory_iterator(dir_.root)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "CONFIG.DAT" || (name.starts_with("rf") && name.ends_with(".tmp"))) << name;
  }
}

// A replacement would split a hard-linked file in two: it is rewritten instead, and every
// name of it shows the new content.
TEST_F(Win32FilesTest, RewritesAHardLinkedFileInPlace) {
  fs::create_hard_link(target_, dir_ / "other.dat");
  ReplacingFile file;
  ASSERT_TRUE(file.Open(target_) && file.in_place());
  ASSERT_TRUE(file.Write(kBytes));
  EXPECT_EQ(ReadFileStart(target_, 100), "old");  // nothing is cut before the commit
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(ReadFileStart(dir_ / "other.dat", 100), kBytes);
  EXPECT_EQ(State(), kBytes + " 2");
}

TEST_F(Win32FilesTest, KindsOfPathsAndTheirStartsInUtf8) {
  // "Konfiguration ß é 日本.dat" in UTF-8: the file is made by its wide name.
  const std::string utf8_name = "Konfiguration \xc3\x9f \xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac.dat";
  const fs::path wide_name = dir_.root / L"Konfiguration \u00df \u00e9 \u65e5\u672c.dat";
  std::ofstream(wide_name, std::ios::binary) << kBytes;
  const std::string utf8_path = dir_.root.string() + "\\" + utf8_name;

  std::string why;
  EXPECT_EQ(KindOfPath(utf8_path, &why), PathKind::kRegularFile);
  EXPECT_TRUE(PathExists(utf8_path));
  EXPECT_EQ(ReadFileStart(utf8_path, 100), kBytes);
  EXPECT_EQ(KindOfPath(dir_.root.string(), &why), PathKind::kOther);
  EXPECT_EQ(KindOfPath("NUL", &why), PathKind::kOther);
  EXPECT_EQ(KindOfPath(dir_ / "none", &why), PathKind::kNothing);
  EXPECT_EQ(KindOfPath(dir_ / "none\\deeper", &why), PathKind::kNothing);
  EXPECT_FALSE(PathExists(dir_ / "none"));
  // A device name with an extension is still the device; none is read, and none waits.
  const std::pair<std::string, const char*> kRefused[] = {
      {dir_ / "none", kNoSuchFile},     {dir_ / "none\\deeper", kNoSuchFile},
      {dir_.root.string(), kIsAFolder}, {"NUL", kNotARegularFile},
      {"CON.DAT", kNotARegularFile},    {dir_.root.string() + "\\nul.dat", kNotARegularFile}};
  for (const auto& [path, reason] : kRefused) {
    EXPECT_FALSE(ReadFileStart(path, 4, &why)) << path;
    EXPECT_EQ(why, reason) << path;
  }

  // Saved under the UTF-8 name, the file keeps its wide one.
  ASSERT_TRUE(Save(utf8_path, "new\r\n"));
  std::ifstream saved(wide_name, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), "new\r\n");
  EXPECT_EQ(State(), "old 2");
}

}  // namespace
}  // namespace pelgar::platform
