#pragma once

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

namespace pelgar::platform {

// Sets an environment variable (nullptr: unsets it) and puts it back when it goes.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedEnv() { Set(old_ ? old_->c_str() : nullptr); }
  void Set(const char* value) { value ? setenv(name_, value, 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A fresh directory under /tmp, removed with everything in it when it goes.
class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/pelgar-test-XXXXXX";
    if (mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace pelgar::platform
