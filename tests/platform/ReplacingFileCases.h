#pragma once

// A folder holding the target with "old" in it, for the replacing file's tests of every
// system.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/Files.h"
#include "platform/ReplacingFile.h"
#include "support/TestEnvironment.h"

namespace pelgar::platform {

inline bool Save(const std::string& path, std::string_view content) {
  ReplacingFile file;
  return file.Open(path) && file.Write(content) && file.Commit();
}

class ReplacingFileTest : public ::testing::Test {
 protected:
  // The target's content and the number of entries: no temporary file may be left behind.
  std::string State() const {
    return ReadFileStart(target_, 100).value_or("<none>") + " " +
           std::to_string(std::distance(std::filesystem::directory_iterator(dir_.root), {}));
  }

  TempDir dir_;
  const std::string target_ = dir_.Put("CONFIG.DAT", "old");
};

}  // namespace pelgar::platform
