#pragma once

// setenv() is POSIX: <stdlib.h> declares it, <cstdlib> need not.
#include <stdlib.h>  // NOLINT(modernize-deprecated-headers)

#include <filesystem>
#include <optional>
#include <string>

namespace pelgar::platform {

// Sets an environment variable (nullptr: unsets it) and puts it back when it goes.
struct ScopedEnv {
  ScopedEnv(const char* variable, const char* value) : name(variable) {
    if (const char* old_value = getenv(name)) old = old_value;
    Set(value);
  }
  ~ScopedEnv() { Set(old ? old->c_str() : nullptr); }
  void Set(const char* value) { value ? setenv(name, value, 1) : unsetenv(name); }

  const char* name;
  std::optional<std::string> old;
};

// A fresh directory under /tmp, removed with everything in it when it goes.
struct TempDir {
  TempDir() {
    char pattern[] = "/tmp/pelgar-test-XXXXXX";
    if (mkdtemp(pattern) != nullptr) root = pattern;
  }
  ~TempDir() { std::filesystem::remove_all(root); }
  std::string operator/(const std::string& name) const { return (root / name).string(); }

  std::filesystem::path root;
};

}  // namespace pelgar::platform
