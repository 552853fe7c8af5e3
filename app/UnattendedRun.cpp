#include "app/UnattendedRun.h"

#include <array>
#include <cstdint>
#include <ostream>
#include <string_view>

#include "app/CommandLine.h"
#include "device/Exchange.h"
#include "platform/Files.h"
#include "platform/PortNames.h"
#include "ui/ReaderClaim.h"
#include "ui/main/AboutBox.h"
#include "version.h"

namespace pelgar::app {
namespace {

constexpr std::string_view kUpdatedMessage = "MSR Configuration is updated successfully.";
constexpr std::string_view kUpdateCaption = "Update MSR Configuration...";
constexpr std::string_view kDebugCaption = "Debugging MSR Command...";
constexpr std::string_view kUsageCaption = "About Unattended Mode...";
constexpr std::string_view kUnplugRequest =
    "\nPlease unplug/plug the MSR enable functional mode.\n";
// The debug report is kept in a buffer of this many characters with its terminator.
constexpr size_t kReportSize = 256;

constexpr std::string_view kBlankHint =
    "pelgar: fields are separated by commas, without blanks: pelgar FILE.DAT,COM3,19200";

// Flags of the messages that mean the configuration did not reach the reader.
constexpr uint32_t kNotAppliedFlags =
    summary::kNotClaimed | summary::kEnhancedError | summary::kFileError;

void AppendCut(std::string& report, std::string_view text) {
  report.append(text.substr(0, kReportSize - 1 - std::min(report.size(), kReportSize - 1)));
}

using LoadResult = ui::ConfigFileActions::LoadResult;
using SetOutcome = ui::EnhancedGroup::SetOutcome;

// What of a file read into the window reached the reader, when not all of it did or the
// file broke a rule; empty otherwise.
std::string WhatReachedTheReader(const LoadResult& load) {
  const std::string& problem = load.wrapper_problem;
  const bool enhanced_sent = !load.enhanced || *load.enhanced == SetOutcome::kSent;
  if (load.stored && enhanced_sent && problem.empty()) return {};
  std::string text = load.stored ? "basic configuration stored" : "basic configuration not stored";
  if (!load.enhanced) {
    // Not made: there was no enhanced section (so no wrapper to break a rule), or the
    // reader's firmware knows no enhanced settings.
    if (!problem.empty()) text += "; enhanced settings not sent: " + problem;
    return text;
  }
  switch (*load.enhanced) {
    case SetOutcome::kSent:
      text += "; enhanced settings sent";
      if (!problem.empty()) text += "; " + problem;
      break;
    case SetOutcome::kNotSent:
      text +=
          "; enhanced settings not sent: " + (problem.empty() ? "a wrapper is refused" : problem);
      break;
    case SetOutcome::kNotClaimed:
      text += "; enhanced settings not sent: the reader was not claimed";
      break;
    case SetOutcome::kRefused:
      text += "; enhanced settings sent, but the reader refused some of them";
      break;
  }
  return text;
}

// One line on standard error for each thing of a load that a technician must know: why
// the file was not read, or what was read leniently and what did not reach the reader.
void ReportLoad(std::ostream& err, const std::string& path, const LoadResult& load) {
  if (!load.cause.empty()) err << "pelgar: " << load.cause << '\n';
  for (const std::string& warning : load.warnings) {
    err << "pelgar: " << path << ": " << warning << '\n';
  }
  if (load.outcome == ui::ConfigFileActions::LoadOutcome::kLoaded) {
    if (std::string reached = WhatReachedTheReader(load); !reached.empty()) {
      err << "pelgar: " << path << ": " << reached << '\n';
    }
  }
  err << std::flush;
}

}  // namespace

std::string UnattendedRun::UsageText() {
  std::string text = std::string("MSR Configuration Utility v") + kVersion + "\n";
  text.append(ui::kOwnershipNotice).append("\n\n");
  text.append("Usage: PELGAR.EXE <CONFIG.DAT>,[<COM PORT>],[<BAUD RATE>]\n");
  text.append("\tload configuration setting to MSR\n");
  // What the line above leaves out.
  text.append(
      "       PELGAR.EXE /C:<COMMAND FRAME>,[<COM PORT>],[<BAUD RATE>]\n"
      "\tsend one command frame to MSR and show its response\n"
      "       PELGAR.EXE --help | --version\n"
      "\n"
      "<COM PORT> is COM1 to COM11 (default COM3), <BAUD RATE> 9600, 19200 (default) or "
      "38400;\nthe fields are separated by commas, without blanks.\n");
  text.append(platform::PortNamesHelp()).append("\n");
  text.append(
      "PELGAR_TIME_SCALE=<factor> makes every wait shorter, for tests with pelgar-sim only.\n"
      "PELGAR_TRACE=<file> appends what goes over the wire to <file> (- for standard error).\n"
      "Exit status 0: configuration applied, command answered, --help or --version;\n"
      "1: otherwise, and for this text without --help; 2: no arguments and no display.\n"
      "See man pelgar");
  return text;
}

std::string UnattendedRun::ConfigurationPathToOpen(const std::string& typed) {
  if (typed.empty() || platform::PathExists(typed)) return typed;
  std::string capitals = ToCapitals(typed);
  // When neither is there, the failure names the file as the user typed it.
  return platform::PathExists(capitals) ? capitals : typed;
}

int UnattendedRun::Run(ui::MainWindow& window) {
  if (settings_.debug_command != 0) return DebugCommand(window);
  if (settings_.configuration_load != 0) return ConfigurationLoad(window);
  return UsageDisplay(window.messages());
}

int UnattendedRun::ConfigurationLoad(ui::MainWindow& window) {
  ui::MessageOutput& messages = window.messages();
  window.set_enhanced_capable(false);
  window.GetConfig();

  bool loaded = false;
  bool file_missing = false;
  if ((settings_.summary_flags & summary::kNotClaimed) == 0) {
    std::string path = ConfigurationPathToOpen(std::string(settings_.configuration_path.view()));
    LoadResult load = files_.LoadFile(path);
    ReportLoad(window.environment().err, path, load);
    if (load.outcome == ui::ConfigFileActions::LoadOutcome::kOpenFailed) {
      file_missing = !platform::PathExists(path);
      messages.ShowMessage(UsageText(), kUsageCaption, ui::box::kIconInformation);
    }
    loaded = load.outcome == ui::ConfigFileActions::LoadOutcome::kLoaded;
  }
  HintAtBlanks(window, file_missing || window.last_claim_failure().port_missing);
  // Decided before the final message, which prints the summary and clears the flags of
  // a success. A configuration that did not reach the reader is never reported as a
  // success, neither in the summary nor in the exit status.
  bool applied = loaded && (settings_.summary_flags & kNotAppliedFlags) == 0;
  messages.ShowMessage(kUpdatedMessage, kUpdateCaption, ui::box::kOk);
  return applied ? kExitSuccess : kExitFailure;
}

int UnattendedRun::DebugCommand(ui::MainWindow& window) {
  ui::MessageOutput& messages = window.messages();
  device::ClaimFailure failure;
  std::unique_ptr<device::DeviceSession> session =
      ui::ClaimOrReport(window.environment(), messages, window.port_texts(), &failure);
  if (!session) {
    HintAtBlanks(window, failure.port_missing);
    return kExitFailure;
  }

  std::array<char, device::kReplySize> reply{};
  bool answered = session->ExchangeRaw(settings_.debug_command_text.view(), reply);
  std::string_view reply_text(reply.data());

  std::string report;
  AppendCut(report, answered ? "\nMSR Command Response:\n"
                             : "\nError processing the command.\nMSR Command Response:\n");
  AppendCut(report, reply_text);
  AppendCut(report, "\n");
  bool failed = report.find("Error") != std::string::npos;
  if (failed) AppendCut(report, kUnplugRequest);
  // The reader stays in command mode until the countdown has ended.
  messages.ShowMessage(report, kDebugCaption, ui::box::kOk);
  session.reset();
  return failed ? kExitFailure : kExitSuccess;
}

void UnattendedRun::HintAtBlanks(ui::MainWindow& window, bool not_found) const {
  // "pelgar A.DAT COM3" names one file "A.DAT COM3"; ", COM3" names the port " COM3".
  if (not_found && settings_.blank_in_command_line) {
    window.environment().err << kBlankHint << std::endl;
  }
}

int UnattendedRun::UsageDisplay(ui::MessageOutput& messages) {
  messages.ShowMessage(UsageText(), kUsageCaption, ui::box::kIconInformation);
  return kExitFailure;
}

}  // namespace pelgar::app
