#include "config/ConfigFile.h"

#include <cstdio>

#include "config/ConfigFileLines.h"

namespace pelgar::config {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool Contains(std::string_view line, std::string_view key) {
  return line.find(key) != std::string_view::npos;
}

// The character at a position, or the terminating zero when the line is shorter.
char At(std::string_view line, size_t position) {
  return position < line.size() ? line[position] : '\0';
}

// A text as the C string it stood for: up to its first zero byte.
std::string_view CString(std::string_view text) { return text.substr(0, text.find('\0')); }

// A wrapper text as one line can hold it: a line feed would end the line early.
std::string_view WrapperForLine(std::string_view text) {
  text = CString(text);
  return text.substr(0, text.find('\n'));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::optional<std::string> SentinelText(std::string_view line, size_t position) {
  char c = At(line, position);
  if (c == '\n') return std::nullopt;
  if (c == '\0') return std::string();
  return std::string(1, c);
}

// Lines 4 and 5: the text from its fixed position, or none without the key.
std::optional<std::string> WrapperLine(const std::optional<std::string>& line,
                                       std::string_view key) {
  if (!line || !Contains(*line, key)) return std::nullopt;
  std::string_view text = *line;
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  if (text.size() <= kWrapperValuePosition) return std::string();
  // An edit holds no zero byte, so the text ends at one.
  return std::string(CString(text.substr(kWrapperValuePosition)));
}

}  // namespace

uint8_t ParseHexPair(char first, char second) {
  const char text[] = {first, second};
  size_t i = 0;
  while (i < 2 && IsBlank(text[i])) ++i;
  if (i < 2 && (text[i] == '+' || text[i] == '-')) ++i;
  unsigned value = 0;
  for (; i < 2 && HexDigit(text[i]) >= 0; ++i)
    value = value * 16 + static_cast<unsigned>(HexDigit(text[i]));
  return static_cast<uint8_t>(value);
}

std::string FormatConfigFile(const ConfigFileImage& image) {
  char number[8];
  std::string out;
  out.append(kBasicHeader).append(kLineEnd);

  std::snprintf(number, sizeof number, "%02x", image.option_byte);
  out.append(number);
  for (uint8_t sentinel : image.sentinels)
    out.push_back(sentinel == '\n' ? '\0' : static_cast<char>(sentinel));
  out.append(kLineEnd);
  if (!image.enhanced_section) return out;

  out.append(kEnhancedHeader).append(kLineEnd);
  out.append(kHeadWrapperKey).append(WrapperForLine(image.head_wrapper)).append(kLineEnd);
  out.append(kTailWrapperKey).append(WrapperForLine(image.tail_wrapper)).append(kLineEnd);

  std::snprintf(number, sizeof number, "%02X", image.cr_byte);
  out.append(kCrByteKey).append(number).append(kLineEnd);

  out.append(kWedgeLanguageKey);
  if (image.wedge_language) {
    std::snprintf(number, sizeof number, "%02X", *image.wedge_language);
    out.append(number);
  }
  out.append(kLineEnd);
  return out;
}

LoadedConfigFile ParseConfigFile(std::string_view raw) {
  LoadedConfigFile file;
  ConfigFileLines lines(raw.substr(0, kMaxBytesRead));

  std::optional<std::string> line = lines.Read(kHeaderReadLimit);
  if (!line || !(Contains(*line, kBasicHeader) || Contains(*line, kOtherBasicHeader))) {
    file.status = ConfigFileStatus::kBadHeader;
    return file;
  }

  line = lines.Read(kHeaderReadLimit);
  if (!line) {
    file.status = ConfigFileStatus::kNoConfigurationLine;
    return file;
  }
  // The option byte is the first two characters alone; what follows are the sentinels.
  file.option_byte = ParseHexPair(At(*line, 0), At(*line, 1));
  for (size_t i = 0; i < file.sentinels.size(); ++i) {
    file.sentinels[i] = SentinelText(*line, kFirstSentinelPosition + i);
  }

  line = lines.Read(kHeaderReadLimit);
  if (!line || !(Contains(*line, kEnhancedHeader) || Contains(*line, kOtherEnhancedHeader))) {
    return file;
  }
  file.has_enhanced_section = true;

  // The keys may stand anywhere in their lines; the values are always taken from the
  // fixed positions behind where the writer puts the key.
  file.head_wrapper = WrapperLine(lines.Read(kWrapperReadLimit), kHeadWrapperKey);
  file.tail_wrapper = WrapperLine(lines.Read(kWrapperReadLimit), kTailWrapperKey);

  line = lines.Read(kValueReadLimit);
  if (line && Contains(*line, kCrByteKey)) {
    file.cr_byte = ParseHexPair(At(*line, kNumberPosition), At(*line, kNumberPosition + 1));
  }

  line = lines.Read(kValueReadLimit);
  if (line && Contains(*line, kWedgeLanguageKey)) {
    // "15:" with nothing after it (a line end, or the end of the file) means no language.
    auto first = static_cast<unsigned char>(At(*line, kNumberPosition));
    if (first > 0x1F && first < 0x80) {
      file.wedge_language =
          ParseHexPair(At(*line, kNumberPosition), At(*line, kNumberPosition + 1));
    }
  }
  return file;
}

}  // namespace pelgar::config
