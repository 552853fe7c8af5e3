#include "app/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace pelgar::app {

std::string ToCapitals(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

namespace {

struct Field {
  size_t begin;
  size_t length;
};

// The fields a standard tokenizer finds at ",": runs of commas count as one, and commas
// at the start or the end give no empty field.
std::vector<Field> SplitFields(std::string_view text) {
  std::vector<Field> fields;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t begin = text.find_first_not_of(',', pos);
    if (begin == std::string_view::npos) break;
    size_t end = text.find(',', begin);
    if (end == std::string_view::npos) end = text.size();
    fields.push_back({begin, end - begin});
    pos = end;
  }
  return fields;
}

// Refuses the run when `text` is longer than a field of `size` characters, terminator
// included, may hold; the first such field is the one named.
void CheckLength(RunSettings& settings, std::string_view what, std::string_view text, size_t size) {
  if (text.size() < size || !settings.refused.empty()) return;
  settings.refused =
      std::string(what) + " is longer than " + std::to_string(size - 1) + " characters";
}

}  // namespace

RunSettings ParseCommandLine(std::string_view command_line) {
  RunSettings settings;
  if (command_line.empty()) return settings;
  settings.blank_in_command_line = command_line.find_first_of(" \t") != std::string_view::npos;

  std::string upper = ToCapitals(command_line);
  // The fields are judged by their own sizes: a whole line cut first could lose a port or
  // a baud rate that fits its field.
  std::string_view working = upper;
  std::string_view typed = command_line;

  std::vector<Field> fields;
  size_t first_offset = 0;
  if (upper.find(".HEX") != std::string::npos) {
    settings.usage = 1;
    return settings;
  }
  if (upper.find(".DAT") != std::string::npos) {
    settings.configuration_load = 1;
    fields = SplitFields(working);
    if (!fields.empty()) {
      std::string_view path = typed.substr(fields[0].begin, fields[0].length);
      CheckLength(settings, "the configuration file path", path, kPathSize);
      settings.configuration_path.Assign(path);
    }
  } else if (working.starts_with("/C:")) {
    settings.debug_command = 1;
    // The frame starts at the colon: "/C:0100001118D6" gives ":0100001118D6".
    first_offset = 2;
    fields = SplitFields(working.substr(first_offset));
    std::string_view frame = working.substr(first_offset + fields[0].begin, fields[0].length);
    CheckLength(settings, "the command frame", frame, kDebugCommandSize);
    settings.debug_command_text.Assign(frame);
  } else {
    // Includes "/C:" anywhere but at the start: its frame would begin with what stands
    // before it, so no reader could understand it. The usage says what is accepted.
    settings.usage = 1;
    return settings;
  }

  std::string_view rest = working.substr(first_offset);
  std::string_view port =
      fields.size() > 1 ? rest.substr(fields[1].begin, fields[1].length) : kDefaultPortName;
  std::string_view baud =
      fields.size() > 2 ? rest.substr(fields[2].begin, fields[2].length) : kDefaultBaudText;
  CheckLength(settings, "the port name", port, kPortNameSize);
  CheckLength(settings, "the baud rate", baud, kBaudTextSize);
  settings.port_name.Assign(port);
  settings.baud_text.Assign(baud);
  return settings;
}

std::string JoinArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (argv[i] == nullptr) break;
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

}  // namespace pelgar::app
