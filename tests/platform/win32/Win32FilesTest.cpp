// Files on Windows: named in UTF-8, and a file that may not be replaced is left exactly as it
// was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/platform/ReplacingFileCases.h"

namespace pelgar::platform {
namespace {

namespace fs = std::filesystem;

// A read-only target is made writable again, so that its folder can be removed.
class Win32FilesTest : public ReplacingFileTest {
 protected:
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(target_, fs::perms::owner_write, fs::perm_options::add, ignored);
  }
};

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

TEST_F(Win32FilesTest, KindsOfPathsAndTheirStartsInUtf8) {
  // "Konfiguration ß é 日本.dat" in UTF-8: the file is made by its wide name.
  const std::string utf8_name = "Konfiguration \xc3\x9f \xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac.dat";
  const fs::path wide_name = dir_.root / L"Konfiguration \u00df \u00e9 \u65e5\u672c.dat";
  std::ofstream(wide_name, std::ios::binary) << "SET 1\r\n";
  const std::string utf8_path = dir_.root.string() + "\\" + utf8_name;

  std::string why;
  EXPECT_EQ(KindOfPath(utf8_path, &why), PathKind::kRegularFile);
  EXPECT_TRUE(PathExists(utf8_path));
  EXPECT_EQ(ReadFileStart(utf8_path, 100), "SET 1\r\n");
  EXPECT_EQ(KindOfPath(dir_.root.string(), &why), PathKind::kOther);
  EXPECT_EQ(KindOfPath("NUL", &why), PathKind::kOther);
  EXPECT_EQ(KindOfPath(dir_ / "none", &why), PathKind::kNothing);
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
