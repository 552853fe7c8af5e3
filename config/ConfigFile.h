#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelgar::config {

// The configuration file: up to seven text lines, a basic section (header and
// configuration line) and an enhanced section (header, head and tail wrapper, CR byte,
// wedge language):
//
//   Zyr MSR Configuration File
//   5c%;+?                         file option byte "%02x", then the four sentinels
//   Zyr MSR Enhanced Configuration File
//   12H:<head wrapper, escaped>
//   12T:<tail wrapper, escaped>
//   13:00                          file CR byte "%02X"
//   15:01                          wedge language 00, 01, FF, or nothing
//
// This format knows no windows; the main window maps its controls to and from it.

inline constexpr std::string_view kBasicHeader = "Zyr MSR Configuration File";
inline constexpr std::string_view kEnhancedHeader = "Zyr MSR Enhanced Configuration File";
// The same readers were sold under a second brand, whose files name it instead.
inline constexpr std::string_view kOtherBasicHeader = "Kestrel MSR Configuration File";
inline constexpr std::string_view kOtherEnhancedHeader = "Kestrel MSR Enhanced Configuration File";
inline constexpr std::string_view kHeadWrapperKey = "12H:";
inline constexpr std::string_view kTailWrapperKey = "12T:";
inline constexpr std::string_view kCrByteKey = "13:";
inline constexpr std::string_view kWedgeLanguageKey = "15:";

// How many characters (line feed included) one read of each line takes. A longer line is
// split, and its rest becomes the next line; files rely on these sizes, so keep them.
inline constexpr size_t kHeaderReadLimit = 79;      // lines 1 to 3
inline constexpr size_t kWrapperReadLimit = 59;     // lines 4 and 5
inline constexpr size_t kValueReadLimit = 24;       // lines 6 and 7
inline constexpr size_t kWrapperValuePosition = 4;  // after "12H:" / "12T:"
inline constexpr size_t kNumberPosition = 3;        // after "13:" / "15:"
inline constexpr size_t kFirstSentinelPosition = 2;
// The longest wrapper text whose line, line feed included, one read still takes whole.
inline constexpr size_t kMaxWrapperTextInFile = kWrapperReadLimit - kWrapperValuePosition - 1;
// Only this much of a file is ever looked at: the seven reads take at most 403
// characters, each of which may have been a CR LF pair on disk.
inline constexpr size_t kMaxBytesRead = 1024;

// What the writer writes. Sentinels are bytes as Set Config sends them: the first
// character of the edit, 0 for an empty edit. Wrapper texts are the escaped edit texts,
// empty when the wrapper is not used.
struct ConfigFileImage {
  uint8_t option_byte = 0;
  std::array<uint8_t, 4> sentinels{};
  std::string head_wrapper;
  std::string tail_wrapper;
  uint8_t cr_byte = 0;
  std::optional<uint8_t> wedge_language;  // none: no language box checked
  // Without it the file is the basic section alone, for a reader that has no other.
  bool enhanced_section = true;
};

// The file's bytes as written to disk. Line ends are CR LF, as a text-mode stream on
// Windows writes them, so files stay interchangeable with readers set up there; both load.
//
// Empty sentinels: the reader takes the four sentinels from the fixed positions 2 to 5,
// so an empty edit written as nothing would shift the sentinels after it. An empty edit
// stands for the sentinel byte 0, and it is written as that byte: a zero byte at a
// sentinel position loads as an empty edit, like a position past the end of the line, so
// every saved line 2 loads back into the same four edits, and files with real sentinels
// read exactly as before. A line feed sentinel cannot be kept inside a line and is
// written as 0 too, so that it cannot break the lines after it.
std::string FormatConfigFile(const ConfigFileImage& image);

enum class ConfigFileStatus {
  kOk,
  kBadHeader,            // line 1 names neither brand
  kNoConfigurationLine,  // there is no line 2
};

// Where a text begins in the file, both counted from 1.
struct FilePosition {
  size_t line = 0;
  size_t column = 0;
};

// What a read of the file found. Every optional that is empty means "leave that part of
// the window as it is".
struct LoadedConfigFile {
  ConfigFileStatus status = ConfigFileStatus::kOk;
  // Why the file is refused when the status is not kOk: "line 1 has no configuration
  // header" or "no line 2".
  std::string problem;
  // Values that were read although they are not what the writer writes, each with what
  // was made of them ("line 2: no option byte, read as 00"), in the order of the file.
  std::vector<std::string> warnings;
  uint8_t option_byte = 0;
  // Per sentinel edit: its new text (empty or one character), or none when the file holds
  // a line feed at that position.
  std::array<std::optional<std::string>, 4> sentinels;
  bool has_enhanced_section = false;
  // The wrapper text after "12H:" / "12T:" without its line end; empty: no wrapper.
  std::optional<std::string> head_wrapper;
  std::optional<std::string> tail_wrapper;
  // Where each wrapper text begins.
  FilePosition head_at;
  FilePosition tail_at;
  std::optional<uint8_t> cr_byte;
  std::optional<uint8_t> wedge_language;
};

// Reads a file's bytes as they are on disk (at most kMaxBytesRead of them matter).
LoadedConfigFile ParseConfigFile(std::string_view raw);

// The first rule that the file's wrappers break, as a technician can find it in the file
// ("line 4: the escape at column 7 is not ...", "line 5: the wrappers are longer than 14
// characters together"); empty when they keep every rule. A 14-character wrapper leaves
// the other out instead of breaking the rule (the window unchecks it).
std::string WrapperProblem(const LoadedConfigFile& file);

// The value of two characters read as a hexadecimal number the way the C library reads
// one: leading blanks and a sign skipped, digits of either case up to the first other
// character, 0 when there is no digit.
uint8_t ParseHexPair(char first, char second);

// A number line as the writer writes it ("13:0A" for `key` "13:" and 0x0A), and the value
// such a line holds at kNumberPosition, read as ParseHexPair reads it.
std::string NumberLine(std::string_view key, uint8_t value);
uint8_t NumberLineValue(std::string_view line);

}  // namespace pelgar::config
