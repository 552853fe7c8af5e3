#pragma once

#include <cstdint>
#include <iosfwd>
#include <string_view>

#include "app/RunSettings.h"
#include "platform/Clock.h"
#include "ui/host/MessageBoxService.h"
#include "ui/host/MessageOutput.h"

namespace pelgar::app {

// The texts an unattended run prints as its summary.
inline constexpr std::string_view kNotClaimedConsoleText =
    "The MSR has not been claimed by the application.\n   Please be sure the COM port is not "
    "claimed by other applications";
inline constexpr std::string_view kErrorConsoleText =
    "There was an error found during MSR Configuration update.\n   Please make sure "
    "configuration file is exist and in correct format.";
inline constexpr std::string_view kSuccessConsoleText = "MSR Configuration is updated successfully";
inline constexpr std::string_view kCustomOffConsoleText = "\"Use Custom Configuration\" is disable";
inline constexpr std::string_view kDebugConsoleHeading = "Debugging MSR Command...\n\n";
inline constexpr std::string_view kUsageConsoleHeading = "About Unattended Mode\n\n";
inline constexpr int kCountdownSeconds = 5;
inline constexpr int64_t kCountdownTickMs = 1000;

// What ShowPlainMessage returns in an unattended run: not zero, and no button.
inline constexpr int kConsoleOnlyResult = -1;

// Every message of the program. Interactively it shows a box. In an unattended run no box
// may appear: each message is classified into the summary flags, and the message that
// ends the run prints the summary, followed by a five-second countdown, to the console
// (standard output in the program; there is no separate console window on this platform).
class MessageFunctions : public ui::MessageOutput {
 public:
  MessageFunctions(RunSettings& settings, ui::MessageBoxService& boxes, platform::Clock& clock,
                   std::ostream& console);

  int ShowMessage(std::string_view text, std::string_view caption, unsigned type) override;
  int ShowPlainMessage(std::string_view text, unsigned type) override;

  // Adds the summary bit of the text, if it has one.
  void ClassifyMessage(std::string_view text);
  // Records the text and, when it ends the run, prints the summary and counts down.
  void ConsoleOutput(std::string_view text);

  // The summary bit a text stands for, 0 for none.
  static uint32_t Classify(std::string_view text);

 private:
  bool RunEnds() const;
  void PrintSummary(std::string_view text);
  void CountDown();

  RunSettings& settings_;
  ui::MessageBoxService& boxes_;
  platform::Clock& clock_;
  std::ostream& console_;
};

}  // namespace pelgar::app
