#include "cli/CtlCommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>
#include <vector>

#include "config/EnhancedSettings.h"
#include "device/PortText.h"
#include "version.h"

namespace pelgar::cli {
namespace {

constexpr const char* kDescription =
    "pelgarctl: the scripting face of Pelgar. Reads, stores, compares and flashes\n"
    "magnetic stripe readers, many at once; -j prints one JSON object per reader.\n";
constexpr const char* kFooter =
    "PORT is COMn (the port directory's entry, else the system's COMn port), a port\n"
    "directory entry or a device path; -p takes several, separated by commas or repeated.\n"
    "Exit status 0: every reader succeeded; 1: a reader failed; 2: a usage error (nothing\n"
    "was sent); 3: verify found a difference. See man pelgarctl.";

std::vector<int32_t> BaudRates() {
  std::vector<int32_t> rates;
  rates.reserve(device::kBaudRates.size());
  for (const device::BaudRate& rate : device::kBaudRates) rates.push_back(rate.value);
  return rates;
}

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool Offered(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= config::kFirstOfferedCode && code <= config::kLastOfferedCode;
}

// "N=C": the character N is typed as C.
std::string ParseEntry(const std::string& text, TableEntry* entry) {
  if (text.size() != 3 || text[1] != '=' || !Offered(text[0]) || !Offered(text[2])) {
    return "a table entry is N=C, two characters from space to ~: " + text;
  }
  *entry = {text[0], text[2]};
  return {};
}

std::string CheckFrame(const std::string& frame) {
  if (frame.size() < 2 || frame[0] != ':' || !std::all_of(frame.begin() + 1, frame.end(), IsHex)) {
    return "a frame is \":\" and hexadecimal digits, such as :0100001118D6: " + frame;
  }
  return {};
}

}  // namespace

const char* CommandName(Command command) {
  switch (command) {
    case Command::kPorts:
      return "ports";
    case Command::kInfo:
      return "info";
    case Command::kGet:
      return "get";
    case Command::kApply:
      return "apply";
    case Command::kVerify:
      return "verify";
    case Command::kSend:
      return "send";
    case Command::kFlash:
      return "flash";
    case Command::kTableSet:
      return "table set";
    case Command::kTableReset:
      return "table reset";
  }
  return "";
}

int UsageError(std::ostream& err, std::string_view problem) {
  err << "pelgarctl: " << problem << " (pelgarctl --help)" << std::endl;
  return kExitUsage;
}

std::optional<CtlRequest> ParseCtlCommandLine(int argc, const char* const* argv, std::ostream& out,
                                              std::ostream& err, int* exit_status) {
  CtlRequest request;
  CLI::App app(kDescription, "pelgarctl");
  app.footer(kFooter);
  app.fallthrough();
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("pelgarctl ") + kVersion);
  app.add_option("-p,--port", request.ports, "a reader's PORT; repeat it or separate by commas")
      ->delimiter(',')
      ->type_name("PORT");
  app.add_flag("--all", request.all, "every entry of the port directory");
  app.add_option("-b,--baud", request.baud, "9600, 19200 (default) or 38400")
      ->check(CLI::IsMember(BaudRates()));
  app.add_flag("-j,--json", request.json, "one JSON object per reader per line");
  app.add_flag("-q,--quiet", request.quiet, "errors only");
  app.add_option("--trace", request.trace, "append what goes over the wire to FILE (-: stderr)")
      ->type_name("FILE");

  auto* ports = app.add_subcommand("ports", "COM1..COM11 and the port directory's entries");
  ports->add_flag("--probe", request.probe, "ask each existing port whether a reader answers");
  app.add_subcommand("info", "firmware revision, slide switch, enhanced settings");
  auto* get = app.add_subcommand("get", "the reader's configuration as a configuration file");
  get->add_option("-o,--output", request.output,
                  "write FILE instead of standard output ({port} for each reader's name)")
      ->type_name("FILE");
  auto* apply = app.add_subcommand("apply", "check FILE whole, then store it in the reader");
  apply->add_option("FILE", request.file, "a configuration file")->required();
  apply->add_flag("--verify", request.verify, "read the reader back and compare");
  auto* verify = app.add_subcommand("verify", "compare the reader with FILE, field by field");
  verify->add_option("FILE", request.file, "a configuration file")->required();
  auto* send = app.add_subcommand("send", "send one command frame and print the reply");
  send->add_option("FRAME", request.frame, "such as :0100001118D6")->required();
  auto* flash = app.add_subcommand("flash", "replace the firmware from an Intel HEX file");
  flash->add_option("FILE", request.file, "FILE.HEX")->required();
  flash->add_flag("--force", request.force, "flash a revision the reader already has or passed");
  auto* table = app.add_subcommand("table", "the custom wedge table");
  table->require_subcommand(1);
  std::vector<std::string> entries;
  auto* table_set = table->add_subcommand("set", "replace up to seven characters: N=C ...");
  table_set->add_option("ENTRY", entries, "N=C: the character N is typed as C")
      ->required()
      ->expected(1, static_cast<int>(config::kMaxBatchEntries));
  auto* table_reset = table->add_subcommand("reset", "the original table again");

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    *exit_status = app.exit(e, out, err);
    return std::nullopt;
  } catch (const CLI::ParseError& e) {
    *exit_status = UsageError(err, e.what());
    return std::nullopt;
  }

  std::string problem;
  if (*ports) request.command = Command::kPorts;
  if (app.got_subcommand("info")) request.command = Command::kInfo;
  if (*get) request.command = Command::kGet;
  if (*apply) request.command = Command::kApply;
  if (*verify) request.command = Command::kVerify;
  if (*send) {
    request.command = Command::kSend;
    problem = CheckFrame(request.frame);
  }
  if (*flash) request.command = Command::kFlash;
  if (*table_set) {
    request.command = Command::kTableSet;
    request.entries.resize(entries.size());
    for (size_t i = 0; i < entries.size() && problem.empty(); ++i) {
      problem = ParseEntry(entries[i], &request.entries[i]);
    }
  }
  if (*table_reset) request.command = Command::kTableReset;
  if (!problem.empty()) {
    *exit_status = UsageError(err, problem);
    return std::nullopt;
  }
  return request;
}

}  // namespace pelgar::cli
