#include "sim/StateFile.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "platform/Files.h"
#include "platform/ReplacingFile.h"
#include "sim/HexRecord.h"

namespace pelgar::sim {
namespace {

constexpr size_t kProgramLine = 16;
// No entry needs more; a longer line is not a state file.
constexpr size_t kMaxLineLength = 200;
constexpr size_t kMaxFileSize = 1 << 20;

std::string Hex(std::string_view bytes) {
  std::string text;
  for (char c : bytes) text += HexPair(static_cast<uint8_t>(c));
  return text;
}

// Hex digits in pairs, blanks between pairs allowed.
bool ParseBytes(std::string_view text, std::vector<uint8_t>* bytes) {
  bytes->clear();
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) return false;
    int high = HexDigitValue(text[i]);
    int low = HexDigitValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes->push_back(static_cast<uint8_t>(high * 16 + low));
    i += 2;
  }
  return true;
}

// Printable text, which a "revision" line holds as it is. A firmware update takes the
// revision from whatever bytes the image holds at 0x1FE0, zero and 0xFF included: Format
// writes such a revision as hex bytes on a "revision_bytes" line instead, and one that ends
// in a blank too, since reading a line drops trailing blanks.
bool PlainRevision(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

std::string Entry(const std::string& name, const std::string& value) {
  return value.empty() ? name + "\n" : name + " " + value + "\n";
}

bool ParseEntry(const std::string& name, const std::string& value, ReaderState* state,
                std::string* what) {
  std::vector<uint8_t> bytes;
  if (name == "revision") {
    if (value.size() > kRevisionLength) {
      *what = "a revision has at most 8 characters";
      return false;
    }
    if (!PlainRevision(value)) {
      *what = "the revision holds a character that is not printable";
      return false;
    }
    state->revision = value;
    return true;
  }
  if (!ParseBytes(value, &bytes)) {
    *what = "expected hexadecimal bytes";
    return false;
  }
  if (name == "revision_bytes") {
    if (bytes.size() > kRevisionLength) {
      *what = "a revision has at most 8 characters";
      return false;
    }
    state->revision.assign(bytes.begin(), bytes.end());
    return true;
  }
  auto expect = [&](size_t count) {
    if (bytes.size() == count) return true;
    *what = "expected " + std::to_string(count) + " byte(s)";
    return false;
  };
  if (name == "option_byte") {
    if (!expect(1)) return false;
    state->option_byte = bytes[0];
  } else if (name == "sentinels") {
    if (!expect(4)) return false;
    for (size_t i = 0; i < 4; ++i) state->sentinels[i] = bytes[i];
  } else if (name == "cr_byte") {
    if (!expect(1)) return false;
    state->cr_byte = bytes[0];
  } else if (name == "wedge_language") {
    if (!expect(1)) return false;
    state->wedge_language = bytes[0];
  } else if (name == "custom_entry") {
    if (!expect(2)) return false;
    state->custom_table[bytes[0]] = bytes[1];
  } else if (name == "head_wrapper" || name == "tail_wrapper") {
    if (bytes.size() > kMaxWrapperTotal) {
      *what = "a wrapper has at most 14 characters";
      return false;
    }
    std::string wrapper(bytes.begin(), bytes.end());
    if (wrapper.find('\0') != std::string::npos) {
      *what = "a wrapper cannot hold the byte 00";
      return false;
    }
    (name == "head_wrapper" ? state->head_wrapper : state->tail_wrapper) = wrapper;
  } else if (name == "program") {
    if (!expect(2 + kProgramLine)) return false;
    size_t address = static_cast<size_t>(bytes[0]) << 8 | bytes[1];
    if (address % kProgramLine != 0 || address + kProgramLine > kProgramSize) {
      *what = "program lines start at a multiple of 0010 below 4000";
      return false;
    }
    for (size_t i = 0; i < kProgramLine; ++i) state->program[address + i] = bytes[2 + i];
  } else {
    *what = "unknown entry \"" + name + "\"";
    return false;
  }
  return true;
}

}  // namespace

std::string StateFile::Format(const ReaderState& state) {
  std::string text = "# pelgar-sim reader flash\n";
  text += "option_byte " + HexPair(state.option_byte) + "\n";
  text += "sentinels";
  for (uint8_t s : state.sentinels) text += " " + HexPair(s);
  text += "\n";
  const std::string revision = state.revision.substr(0, kRevisionLength);
  if (PlainRevision(revision) && !revision.ends_with(' ')) {
    text += "revision " + revision + "\n";
  } else {
    text += "revision_bytes " + Hex(revision) + "\n";
  }
  text += Entry("head_wrapper", Hex(state.head_wrapper));
  text += Entry("tail_wrapper", Hex(state.tail_wrapper));
  text += "cr_byte " + HexPair(state.cr_byte) + "\n";
  text += "wedge_language " + HexPair(state.wedge_language) + "\n";
  for (size_t code = 0; code < state.custom_table.size(); ++code) {
    if (state.custom_table[code] == code) continue;
    text += "custom_entry " + HexPair(static_cast<uint8_t>(code)) + " " +
            HexPair(state.custom_table[code]) + "\n";
  }
  for (size_t address = 0; address < kProgramSize; address += kProgramLine) {
    std::string_view line(reinterpret_cast<const char*>(state.program.data()) + address,
                          kProgramLine);
    if (line.find_first_not_of('\xFF') == std::string_view::npos) continue;
    text += "program " + HexPair(static_cast<uint8_t>(address >> 8)) +
            HexPair(static_cast<uint8_t>(address & 0xFF)) + " " + Hex(line) + "\n";
  }
  return text;
}

bool StateFile::Parse(const std::string& text, ReaderState* state, std::string* error) {
  ReaderState parsed = *state;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxLineLength) {
      *error = "line " + std::to_string(number) + ": too long";
      return false;
    }
    if (line.empty() || line[0] == '#') continue;
    size_t blank = line.find(' ');
    std::string name = line.substr(0, blank);
    std::string value = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    // Trailing blanks are invisible in an editor; the revision keeps its inner ones.
    while (!value.empty() && value.back() == ' ') value.pop_back();
    std::string what;
    if (!ParseEntry(name, value, &parsed, &what)) {
      *error = "line " + std::to_string(number) + ": " + what;
      return false;
    }
  }
  *state = parsed;
  return true;
}

bool StateFile::Load(const std::string& path, ReaderState* state, bool* existed,
                     std::string* error) {
  *existed = false;
  std::string why;
  const platform::PathKind kind = platform::KindOfPath(path, &why);
  if (kind == platform::PathKind::kNothing) return true;  // a first run: the defaults
  if (kind == platform::PathKind::kUnknown) {
    *error = path + ": " + why;
    return false;
  }
  *existed = true;
  if (kind != platform::PathKind::kRegularFile) {
    *error = path + ": not a regular file";
    return false;
  }
  // One byte more than a state file may hold tells a file that is too large.
  std::optional<std::string> content = platform::ReadFileStart(path, kMaxFileSize + 1);
  if (!content) {
    *error = path + ": cannot be opened";
    return false;
  }
  const std::string& text = *content;
  if (text.size() > kMaxFileSize) {
    *error = path + ": too large for a state file";
    return false;
  }
  if (text.find('\0') != std::string::npos) {
    *error = path + ": not a text file";
    return false;
  }
  std::string what;
  if (!Parse(text, state, &what)) {
    *error = path + " " + what;
    return false;
  }
  return true;
}

bool StateFile::Save(const std::string& path, const ReaderState& state, std::string* error) {
  return Write(path, Format(state), error);
}

bool StateFile::Write(const std::string& path, const std::string& text, std::string* error) {
  platform::ReplacingFile file;
  if (file.Open(path) && file.Write(text) && file.Commit()) return true;
  *error = file.error();
  return false;
}

}  // namespace pelgar::sim
