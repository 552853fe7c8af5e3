#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pelgar::config {

// Reads a configuration file's bytes line by line the way the program always has: as a C
// text-mode stream read with a fixed buffer. A CR LF pair arrives as one line feed (files
// come from Windows machines as well as ours); each read takes one line up to and including
// its line feed, but never more than `max_chars` characters, and what is left of a longer
// line is what the next read gets. Bytes are kept as they are, zero bytes included.
class ConfigFileLines {
 public:
  explicit ConfigFileLines(std::string_view raw) : raw_(raw) {}

  // The next read, or nothing at the end of the file.
  std::optional<std::string> Read(size_t max_chars);

  // Where the last read began in the file as a person counts (both from 1): a read that
  // took the rest of a long line begins inside it.
  size_t line() const { return read_line_; }
  size_t column() const { return read_column_; }

 private:
  std::string_view raw_;
  size_t pos_ = 0;
  size_t line_ = 1;
  size_t column_ = 1;
  size_t read_line_ = 0;
  size_t read_column_ = 0;
};

}  // namespace pelgar::config
