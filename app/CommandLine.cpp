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

}  // namespace

RunSettings ParseCommandLine(std::string_view command_line) {
  RunSettings settings;
  if (command_line.empty()) return settings;

  std::string upper = ToCapitals(command_line);
  // The working buffer holds kCommandLineSize characters with the terminator; fields are
  // taken from it, so a field cannot reach past it.
  std::string_view working = std::string_view(upper).substr(0, kCommandLineSize - 1);
  std::string_view typed = command_line.substr(0, working.size());

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
      settings.configuration_path.Assign(typed.substr(fields[0].begin, fields[0].length));
    }
  } else if (working.starts_with("/C:")) {
    settings.debug_command = 1;
    // The frame starts at the colon: "/C:0100001118D6" gives ":0100001118D6".
    first_offset = 2;
    fields = SplitFields(working.substr(first_offset));
    settings.debug_command_text.Assign(
        working.substr(first_offset + fields[0].begin, fields[0].length));
  } else {
    // Includes "/C:" anywhere but at the start: its frame would begin with what stands
    // before it, so no reader could understand it. The usage says what is accepted.
    settings.usage = 1;
    return settings;
  }

  std::string_view rest = working.substr(first_offset);
  settings.port_name.Assign(fields.size() > 1 ? rest.substr(fields[1].begin, fields[1].length)
                                              : kDefaultPortName);
  settings.baud_text.Assign(fields.size() > 2 ? rest.substr(fields[2].begin, fields[2].length)
                                              : kDefaultBaudText);
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
