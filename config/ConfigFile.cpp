#include "config/ConfigFile.h"

#include <cstdio>
#include <cstring>

#include "config/ConfigFileLines.h"
#include "config/EnhancedSettings.h"
#include "config/HexDigit.h"
#include "config/WrapperText.h"

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

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Two characters read as the C library reads a hexadecimal number; `digits` gets how many
// digits it found.
uint8_t ReadHexPair(char first, char second, int* digits) {
  const char text[] = {first, second};
  size_t i = 0;
  while (i < 2 && IsBlank(text[i])) ++i;
  if (i < 2 && (text[i] == '+' || text[i] == '-')) ++i;
  unsigned value = 0;
  *digits = 0;
  for (; i < 2 && HexDigitValue(text[i]) >= 0; ++i, ++*digits)
    value = value * 16 + static_cast<unsigned>(HexDigitValue(text[i]));
  return static_cast<uint8_t>(value);
}

std::string LineText(size_t line) { return "line " + std::to_string(line) + ": "; }

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
  int digits = 0;
  return ReadHexPair(first, second, &digits);
}

std::string NumberLine(std::string_view key, uint8_t value) {
  char number[8];
  std::snprintf(number, sizeof number, "%02X", static_cast<unsigned>(value));
  return std::string(key) + number;
}

uint8_t NumberLineValue(std::string_view line) {
  return ParseHexPair(At(line, kNumberPosition), At(line, kNumberPosition + 1));
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

  out.append(NumberLine(kCrByteKey, image.cr_byte)).append(kLineEnd);
  // No language box checked: the key alone.
  out.append(image.wedge_language ? NumberLine(kWedgeLanguageKey, *image.wedge_language)
                                  : std::string(kWedgeLanguageKey));
  out.append(kLineEnd);
  return out;
}

LoadedConfigFile ParseConfigFile(std::string_view raw) {
  LoadedConfigFile file;
  ConfigFileLines lines(raw.substr(0, kMaxBytesRead));
  // A value read as 00 because it has no hexadecimal digit is a mistake the technician
  // wants to hear of, although the load goes on as it always has.
  auto read_hex = [&](const std::string& line, size_t position, const char* what) {
    int digits = 0;
    const uint8_t value = ReadHexPair(At(line, position), At(line, position + 1), &digits);
    if (digits == 0) {
      file.warnings.push_back(LineText(lines.line()) + "no " + what + ", read as 00");
    }
    return value;
  };

  std::optional<std::string> line = lines.Read(kHeaderReadLimit);
  if (!line || !(Contains(*line, kBasicHeader) || Contains(*line, kOtherBasicHeader))) {
    file.status = ConfigFileStatus::kBadHeader;
    file.problem = "line 1 has no configuration header";
    return file;
  }

  line = lines.Read(kHeaderReadLimit);
  if (!line) {
    file.status = ConfigFileStatus::kNoConfigurationLine;
    file.problem = "no line 2";
    return file;
  }
  // The option byte is the first two characters alone; what follows are the sentinels.
  file.option_byte = read_hex(*line, 0, "option byte");
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
  file.head_at = {lines.line(), lines.column() + kWrapperValuePosition};
  file.tail_wrapper = WrapperLine(lines.Read(kWrapperReadLimit), kTailWrapperKey);
  file.tail_at = {lines.line(), lines.column() + kWrapperValuePosition};

  line = lines.Read(kValueReadLimit);
  if (line && Contains(*line, kCrByteKey)) {
    file.cr_byte = read_hex(*line, kNumberPosition, "hexadecimal digit after 13:");
  }

  line = lines.Read(kValueReadLimit);
  if (line && Contains(*line, kWedgeLanguageKey)) {
    // "15:" with nothing after it (a line end, or the end of the file) means no language.
    auto first = static_cast<unsigned char>(At(*line, kNumberPosition));
    if (first > 0x1F && first < 0x80) {
      file.wedge_language = read_hex(*line, kNumberPosition, "hexadecimal digit after 15:");
    }
  }

  // Nothing after the seventh line is read: a file that holds more says so.
  while ((line = lines.Read(kHeaderReadLimit))) {
    if (line->find_first_not_of(" \t\r\n") != std::string::npos) {
      file.warnings.push_back(LineText(lines.line()) + "not read, nor any line after it");
      break;
    }
  }
  return file;
}

std::string WrapperProblem(const LoadedConfigFile& file) {
  struct Side {
    const std::optional<std::string>& text;
    FilePosition at;
    const char* name;
    size_t length = 0;
  };
  Side sides[] = {{file.head_wrapper, file.head_at, "head"},
                  {file.tail_wrapper, file.tail_at, "tail"}};
  for (Side& side : sides) {
    if (!side.text) continue;
    std::array<char, kWrapperTextSize> decoded{};
    int32_t extra_count = 0;
    size_t refused_at = 0;
    if (!DecodeWrapperText(*side.text, decoded, extra_count, &refused_at)) {
      const std::string column = std::to_string(side.at.column + refused_at);
      if (At(*side.text, refused_at) == '\\') {
        return LineText(side.at.line) + "the escape at column " + column +
               R"( is not \ddd (032 to 127) or \\)";
      }
      return LineText(side.at.line) + "the character at column " + column +
             " is not a printable character";
    }
    side.length = std::strlen(decoded.data());
    if (side.length > kMaxWrapperTotal) {
      return LineText(side.at.line) + "the " + side.name + " wrapper is longer than " +
             std::to_string(kMaxWrapperTotal) + " characters";
    }
  }
  const size_t head = sides[0].length, tail = sides[1].length;
  if (head != kMaxWrapperTotal && tail != kMaxWrapperTotal && !WrapperLengthsFit(head, tail)) {
    return LineText(sides[1].at.line) + "the wrappers are longer than " +
           std::to_string(kMaxWrapperTotal) + " characters together";
  }
  return {};
}

}  // namespace pelgar::config
