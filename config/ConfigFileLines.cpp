#include "config/ConfigFileLines.h"

namespace pelgar::config {

std::optional<std::string> ConfigFileLines::Read(size_t max_chars) {
  if (pos_ >= raw_.size() || max_chars == 0) return std::nullopt;
  read_line_ = line_;
  read_column_ = column_;
  std::string line;
  while (line.size() < max_chars && pos_ < raw_.size()) {
    char c = raw_[pos_++];
    // Only a CR directly followed by LF is a line end; a lone CR is an ordinary character.
    if (c == '\r' && pos_ < raw_.size() && raw_[pos_] == '\n') c = raw_[pos_++];
    line.push_back(c);
    ++column_;
    if (c == '\n') {
      ++line_;
      column_ = 1;
      break;
    }
  }
  return line;
}

}  // namespace pelgar::config
