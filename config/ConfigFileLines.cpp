#include "config/ConfigFileLines.h"

namespace pelgar::config {

std::optional<std::string> ConfigFileLines::Read(size_t max_chars) {
  if (pos_ >= raw_.size() || max_chars == 0) return std::nullopt;
  std::string line;
  while (line.size() < max_chars && pos_ < raw_.size()) {
    char c = raw_[pos_++];
    // Only a CR directly followed by LF is a line end; a lone CR is an ordinary character.
    if (c == '\r' && pos_ < raw_.size() && raw_[pos_] == '\n') c = raw_[pos_++];
    line.push_back(c);
    if (c == '\n') break;
  }
  return line;
}

}  // namespace pelgar::config
