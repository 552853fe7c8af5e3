#pragma once

// setenv() is POSIX and _putenv_s() Windows': <stdlib.h> declares them, <cstdlib> need not.
#include <stdlib.h>  // NOLINT(modernize-deprecated-headers)

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <system_error>

namespace pelgar::platform {

// Sets an environment variable (nullptr: unsets it) and puts it back when it goes.
struct ScopedEnv {
  ScopedEnv(const char* variable, const char* value) : name(variable) {
    if (const char* old_value = getenv(name)) old = old_value;
    Set(value);
  }
  ~ScopedEnv() { Set(old ? old->c_str() : nullptr); }
#ifdef _WIN32
  // An empty value removes the variable on Windows.
  void Set(const char* value) { _putenv_s(name, value ? value : ""); }
#else
  void Set(const char* value) { value ? setenv(name, value, 1) : unsetenv(name); }
#endif

  const char* name;
  std::optional<std::string> old;
};

// A fresh directory in the system's temporary folder, removed with everything in it when it
// goes. Tests running side by side each get their own.
struct TempDir {
  TempDir() {
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    std::random_device random;
    for (int attempt = 0; attempt < 100 && root.empty(); ++attempt) {
      std::filesystem::path candidate = base / ("pelgar-test-" + std::to_string(random()));
      if (std::filesystem::create_directory(candidate, error)) root = candidate;
    }
  }
  ~TempDir() {
    std::error_code error;
    if (!root.empty()) std::filesystem::remove_all(root, error);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string operator/(const std::string& name) const { return (root / name).string(); }
  // Writes `content` to the file `name` here, as it is; returns the file's path.
  std::string Put(const std::string& name, const std::string& content) const {
    std::ofstream(root / name, std::ios::binary) << content;
    return *this / name;
  }

  std::filesystem::path root;
};

}  // namespace pelgar::platform
