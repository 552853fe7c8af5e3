#include "config/WrapperText.h"

#include <cstdio>

namespace pelgar::config {
namespace {

constexpr unsigned char kFirstTypable = 0x20;
constexpr unsigned char kLastTypable = 0x7F;
constexpr int kEscapeDigits = 3;
constexpr int kLowestEscape = 32;
constexpr int kHighestEscape = 127;
// Bytes shown as themselves start here; a raw 0x1F is kept so a wrapper read from the
// reader shows as it is, though it cannot be typed back.
constexpr uint8_t kFirstPlainByte = 0x1F;
constexpr uint8_t kFirstHighByte = 0x80;

}  // namespace

bool DecodeWrapperText(std::string_view box, std::span<char> wrapper, int32_t& extra_count,
                       size_t* refused_at) {
  box = box.substr(0, kWrapperBoxChars);
  extra_count = 0;
  size_t written = 0;
  auto put = [&](char c) {
    if (written + 1 >= wrapper.size()) return false;
    wrapper[written++] = c;
    return true;
  };

  bool in_escape = false;
  size_t escape_start = 0;
  int digit_count = 0;
  int value = 0;
  for (size_t i = 0; i < box.size(); ++i) {
    const char c = box[i];
    auto refuse = [&] {
      if (refused_at != nullptr) *refused_at = in_escape ? escape_start : i;
      return false;
    };
    auto code = static_cast<unsigned char>(c);
    if (code < kFirstTypable || code > kLastTypable) return refuse();
    if (!in_escape) {
      if (c == '\\') {
        ++extra_count;
        in_escape = true;
        escape_start = i;
        digit_count = 0;
        value = 0;
      } else if (!put(c)) {
        return refuse();
      }
      continue;
    }
    if (c == '\\') {
      // "\\" is a backslash; a backslash after digits breaks the escape.
      if (digit_count != 0 || !put('\\')) return refuse();
      in_escape = false;
      continue;
    }
    if (c < '0' || c > '9') return refuse();
    value = value * 10 + (c - '0');
    ++extra_count;
    if (++digit_count < kEscapeDigits) continue;
    if (value < kLowestEscape || value > kHighestEscape) return refuse();
    if (!put(static_cast<char>(value))) return refuse();
    --extra_count;
    in_escape = false;
  }
  return true;
}

std::string FormatWrapperText(std::string_view wrapper) {
  std::string text;
  for (char c : wrapper) {
    auto byte = static_cast<uint8_t>(c);
    if (byte == 0) break;
    if (c == '\\') {
      text += "\\\\";
    } else if (byte < kFirstPlainByte || byte >= kFirstHighByte) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\%03u", static_cast<unsigned>(byte));
      text += escape;
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace pelgar::config
