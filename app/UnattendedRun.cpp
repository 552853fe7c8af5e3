#include "app/UnattendedRun.h"

#include <array>
#include <cstdint>
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

// Flags of the messages that mean the configuration did not reach the reader.
constexpr uint32_t kNotAppliedFlags =
    summary::kNotClaimed | summary::kEnhancedError | summary::kFileError;

void AppendCut(std::string& report, std::string_view text) {
  report.append(text.substr(0, kReportSize - 1 - std::min(report.size(), kReportSize - 1)));
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
      "\n"
      "<COM PORT> is COM1 to COM11 (default COM3), <BAUD RATE> 9600, 19200 (default) or "
      "38400.\n");
  text.append(platform::PortNamesHelp()).append("\n");
  text.append(
      "PELGAR_TIME_SCALE=<factor> makes every wait shorter, for tests with pelgar-sim only.\n"
      "PELGAR_TRACE=<file> appends what goes over the wire to <file> (- for standard error).\n"
      "Exit status 0: configuration applied or command answered; 1: otherwise, and for this "
      "text.\n"
      "See man pelgar");
  return text;
}

std::string UnattendedRun::ConfigurationPathToOpen(const std::string& typed) {
  if (typed.empty() || platform::PathExists(typed)) return typed;
  return ToCapitals(typed);
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
  if ((settings_.summary_flags & summary::kNotClaimed) == 0) {
    std::string path = ConfigurationPathToOpen(std::string(settings_.configuration_path.view()));
    ui::ConfigFileActions::LoadOutcome outcome = files_.LoadFile(path);
    if (outcome == ui::ConfigFileActions::LoadOutcome::kOpenFailed) {
      messages.ShowMessage(UsageText(), kUsageCaption, ui::box::kIconInformation);
    }
    loaded = outcome == ui::ConfigFileActions::LoadOutcome::kLoaded;
  }
  // Decided before the final message, which prints the summary and clears the flags of
  // a success. A configuration that did not reach the reader is never reported as a
  // success, neither in the summary nor in the exit status.
  bool applied = loaded && (settings_.summary_flags & kNotAppliedFlags) == 0;
  messages.ShowMessage(kUpdatedMessage, kUpdateCaption, ui::box::kOk);
  return applied ? kExitSuccess : kExitFailure;
}

int UnattendedRun::DebugCommand(ui::MainWindow& window) {
  ui::MessageOutput& messages = window.messages();
  std::unique_ptr<device::DeviceSession> session =
      ui::ClaimOrReport(window.environment(), messages, window.port_texts());
  if (!session) return kExitFailure;

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

int UnattendedRun::UsageDisplay(ui::MessageOutput& messages) {
  messages.ShowMessage(UsageText(), kUsageCaption, ui::box::kIconInformation);
  return kExitFailure;
}

}  // namespace pelgar::app
