#include "sim/SimOptions.h"

#include <algorithm>
#include <limits>

#include "platform/SystemPorts.h"
#include "sim/HexRecord.h"

namespace pelgar::sim {
namespace {

// Silences and delays beyond a day are typing mistakes.
constexpr int64_t kMaxNumber = 24LL * 60 * 60 * 1000;

bool ParseNumber(std::string_view text, int64_t* value) {
  if (text.empty() || text.size() > 12) return false;
  int64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (number > kMaxNumber) return false;
  *value = number;
  return true;
}

// Takes the value of an option given as "--name VALUE" or "--name=VALUE".
bool TakeValue(std::string_view name, std::string_view inline_value, bool has_inline, int argc,
               const char* const* argv, int* index, std::string* value, std::string* error) {
  if (has_inline) {
    *value = std::string(inline_value);
    return true;
  }
  if (*index + 1 >= argc) {
    *error = "option " + std::string(name) + " needs a value";
    return false;
  }
  *value = argv[++*index];
  return true;
}

// A program memory address, hexadecimal with or without "0x".
bool ParseAddress(std::string_view text, int32_t* address) {
  if (text.substr(0, 2) == "0x" || text.substr(0, 2) == "0X") text.remove_prefix(2);
  if (text.empty() || text.size() > 4) return false;
  int32_t value = 0;
  for (char c : text) {
    int digit = HexDigitValue(c);
    if (digit < 0) return false;
    value = value * 16 + digit;
  }
  if (static_cast<size_t>(value) >= kProgramSize) return false;
  *address = value;
  return true;
}

// The family digit and the newest-revision fault act on the revision text, whichever
// order the options came in.
void ApplyRevisionOptions(SimOptions* options) {
  if (!options->family && !options->newest_revision) return;
  std::string revision = options->revision.value_or("REV 2.30");
  revision.resize(std::max<size_t>(revision.size(), 5), ' ');
  if (options->family) revision[4] = static_cast<char>('0' + *options->family);
  if (options->newest_revision) revision = revision.substr(0, 5) + ".99";
  options->revision = revision.substr(0, kRevisionLength);
}

}  // namespace

std::string SimUsage() {
  return "usage: pelgar-sim --port COMn [--revision TEXT] [--family 1|2|3]\n"
         "                 [--switch serial|wedge|none] [--state FILE] [--fault NAME]...\n"
         "                 [--trace] [--help] [--version]\n"
         "\n"
         "Simulates a magnetic stripe reader on a pseudo-terminal linked as COMn in the\n"
         "port directory ($PELGAR_PORT_DIR, else $XDG_CONFIG_HOME/pelgar/ports) and\n"
         "answers until interrupted. PELGAR_TIME_SCALE speeds up its timing.\n"
         "\n"
         "  --port COMn        the port name to create (COM1 to COM11 are what hosts offer)\n"
         "  --revision TEXT    firmware revision, at most 8 characters (default \"REV 2.30\")\n"
         "  --family N         firmware family 1, 2 or 3: the revision's fifth character,\n"
         "                     which also picks the ISP dialect (family 1, or 2 and 3)\n"
         "  --switch POSITION  slide switch: serial (default), wedge or none\n"
         "  --state FILE       keep the reader's flash contents in FILE across runs\n"
         "  --trace            print every frame and every reply, timestamped, and any bytes\n"
         "                     received that are no frame, marked \"unparsed\"\n"
         "  --fault NAME       misbehave; NAME is one of:\n"
         "      silent             answer nothing\n"
         "      silent-after=N     answer N frames, then nothing\n"
         "      reject             refuse every command (no \".\")\n"
         "      late-commit=MS     acknowledge a commit MS milliseconds late\n"
         "      noise              stray bytes around every reply\n"
         "      long-replies       replies longer than 99 characters\n"
         "      baud=RATE          the reader's own rate; frames at another rate are lost\n"
         "      newer-revision     report the family's newest revision (\"REV n.99\")\n"
         "      isp-silent         answer nothing in ISP mode\n"
         "      isp-unacknowledged=ADDR  refuse the data record for the line at ADDR (hex)\n"
         "      isp-mismatch=ADDR  read back the byte at ADDR (hex) inverted\n";
}

bool ParseFault(std::string_view text, SimOptions* options, std::string* error) {
  const size_t equals = text.find('=');
  const std::string_view name = text.substr(0, equals);
  const bool has_value = equals != std::string_view::npos;
  const std::string_view value = has_value ? text.substr(equals + 1) : std::string_view();
  Faults& faults = options->faults;
  auto flag = [&](bool* field) {
    if (has_value) {
      *error = "fault " + std::string(name) + " takes no value";
      return false;
    }
    *field = true;
    return true;
  };
  int64_t number = 0;
  auto numeric = [&]() {
    if (has_value && ParseNumber(value, &number)) return true;
    *error = "fault " + std::string(name) + " needs a number: " + std::string(name) + "=N";
    return false;
  };
  if (name == "silent") return flag(&faults.silent);
  if (name == "reject") return flag(&faults.reject);
  if (name == "noise") return flag(&faults.noise);
  if (name == "long-replies") return flag(&faults.long_replies);
  if (name == "silent-after") {
    if (!numeric() || number > std::numeric_limits<int>::max()) return false;
    faults.silent_after_frames = static_cast<int>(number);
    return true;
  }
  if (name == "late-commit") {
    if (!numeric()) return false;
    faults.late_commit_ms = number;
    return true;
  }
  if (name == "baud") {
    if (!numeric()) return false;
    if (!platform::SystemHasBaudRate(static_cast<int32_t>(number))) {
      *error = "fault baud: " + std::string(value) + " is not a serial rate";
      return false;
    }
    options->reader_baud = static_cast<int32_t>(number);
    return true;
  }
  if (name == "newer-revision") return flag(&options->newest_revision);
  if (name == "isp-silent") return flag(&faults.isp_silent);
  if (name == "isp-unacknowledged" || name == "isp-mismatch") {
    int32_t* field =
        name == "isp-mismatch" ? &faults.isp_mismatch_address : &faults.isp_unacknowledged_address;
    if (has_value && ParseAddress(value, field)) return true;
    *error = "fault " + std::string(name) +
             " needs an address from 0000 to 3FFF: " + std::string(name) + "=ADDR";
    return false;
  }
  *error = "unknown fault \"" + std::string(text) + "\" (see --help)";
  return false;
}

bool ParseSimOptions(int argc, const char* const* argv, SimOptions* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    const size_t equals = argument.find('=');
    const bool has_inline = argument.substr(0, 2) == "--" && equals != std::string_view::npos;
    const std::string_view name = has_inline ? argument.substr(0, equals) : argument;
    const std::string_view inline_value = has_inline ? argument.substr(equals + 1) : "";
    std::string value;
    auto take = [&]() {
      return TakeValue(name, inline_value, has_inline, argc, argv, &i, &value, error);
    };
    if (name == "--help" || name == "-h") {
      options->help = true;
    } else if (name == "--version" || name == "-V") {
      options->version = true;
    } else if (name == "--trace") {
      options->trace = true;
    } else if (name == "--port") {
      if (!take()) return false;
      options->port = value;
    } else if (name == "--revision") {
      if (!take()) return false;
      bool printable = true;
      for (char c : value) printable = printable && c >= 0x20 && c <= 0x7E;
      if (value.size() > kRevisionLength || !printable) {
        *error = "a revision has at most 8 printable characters: \"" + value + "\"";
        return false;
      }
      options->revision = value;
    } else if (name == "--family") {
      if (!take()) return false;
      if (value.size() != 1 || value[0] < '1' || value[0] > '3') {
        *error = "--family takes 1, 2 or 3, not \"" + value + "\"";
        return false;
      }
      options->family = value[0] - '0';
    } else if (name == "--switch") {
      if (!take()) return false;
      if (value == "serial") {
        options->slide_switch = SlideSwitch::kSerial;
      } else if (value == "wedge") {
        options->slide_switch = SlideSwitch::kWedge;
      } else if (value == "none") {
        options->slide_switch = SlideSwitch::kNone;
      } else {
        *error = "--switch takes serial, wedge or none, not \"" + value + "\"";
        return false;
      }
    } else if (name == "--state") {
      if (!take()) return false;
      if (value.empty()) {
        *error = "--state needs a file name";
        return false;
      }
      options->state_file = value;
    } else if (name == "--fault") {
      if (!take() || !ParseFault(value, options, error)) return false;
    } else {
      *error = "unknown option \"" + std::string(argument) + "\" (see --help)";
      return false;
    }
  }
  ApplyRevisionOptions(options);
  if (!options->help && !options->version && options->port.empty()) {
    *error = "--port COMn is required";
    return false;
  }
  return true;
}

}  // namespace pelgar::sim
