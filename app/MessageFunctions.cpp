#include "app/MessageFunctions.h"

#include <array>
#include <ostream>

namespace pelgar::app {
namespace {

struct Prefix {
  std::string_view text;  // compared over its whole length, exact case
  uint32_t bit;
};

// In the order they are tried; the first that matches wins.
constexpr std::array<Prefix, 7> kPrefixes = {{
    {"The MSR has not been claimed by the application", summary::kNotClaimed},
    {"Error occurred while applying changes to the MSR enhanced configuration",
     summary::kEnhancedError},
    {"MSR Configuration is updated successfully", summary::kUpdated},
    {"\"Use Custom Configuration\"", summary::kCustomConfigurationOff},
    {"Error opening configuration file", summary::kFileError},
    {"About Unattended Mode", summary::kUsage},
    {"Debugging MSR Command", summary::kDebugCommand},
}};

// Failures that would otherwise leave no mark, so that a run whose configuration was not
// applied, or applied from a damaged file, never ends in the success summary: the reader
// refusing Set Config, its commit or the enhanced Set, and a configuration file whose
// lines could not be taken.
constexpr std::array<Prefix, 5> kFailurePrefixes = {{
    {"Error occurred while ", summary::kEnhancedError},
    {"Bad configuration file header.", summary::kFileError},
    {"Error getting configuration data from file.", summary::kFileError},
    {"Please enter no more than ", summary::kFileError},
    {"Please make sure the input of NON-TEXT characters", summary::kFileError},
}};

}  // namespace

MessageFunctions::MessageFunctions(RunSettings& settings, ui::MessageBoxService& boxes,
                                   platform::Clock& clock, std::ostream& console)
    : settings_(settings), boxes_(boxes), clock_(clock), console_(console) {}

int MessageFunctions::ShowMessage(std::string_view text, std::string_view caption, unsigned type) {
  if (!settings_.Unattended()) return boxes_.ShowBox(text, caption, type);
  ClassifyMessage(caption);
  ConsoleOutput(text);
  return 0;
}

int MessageFunctions::ShowPlainMessage(std::string_view text, unsigned type) {
  if (!settings_.Unattended()) return boxes_.ShowApplicationBox(text, type);
  ConsoleOutput(text);
  return kConsoleOnlyResult;
}

uint32_t MessageFunctions::Classify(std::string_view text) {
  for (const Prefix& prefix : kPrefixes) {
    if (text.starts_with(prefix.text)) return prefix.bit;
  }
  for (const Prefix& prefix : kFailurePrefixes) {
    if (text.starts_with(prefix.text)) return prefix.bit;
  }
  return 0;
}

void MessageFunctions::ClassifyMessage(std::string_view text) {
  settings_.summary_flags |= Classify(text);
}

bool MessageFunctions::RunEnds() const {
  uint32_t flags = settings_.summary_flags;
  if (flags & (summary::kUpdated | summary::kDebugCommand)) return true;
  if (flags == summary::kUsage && settings_.usage != 0) return true;
  return flags == summary::kNotClaimed && settings_.debug_command != 0;
}

void MessageFunctions::ConsoleOutput(std::string_view text) {
  ClassifyMessage(text);
  if (!RunEnds()) return;
  PrintSummary(text);
  console_.flush();
  CountDown();
}

// Names the first problem by priority: not claimed, a configuration error, then the
// run's own report, then success.
void MessageFunctions::PrintSummary(std::string_view text) {
  uint32_t flags = settings_.summary_flags;
  if (flags & summary::kNotClaimed) {
    console_ << kNotClaimedConsoleText << '.';
  } else if (flags & (summary::kEnhancedError | summary::kFileError)) {
    console_ << kErrorConsoleText << '.';
  } else if (flags & summary::kDebugCommand) {
    console_ << kDebugConsoleHeading << text << '.';
  } else if (flags == summary::kUsage) {
    console_ << kUsageConsoleHeading << text << '.';
  } else {
    console_ << kSuccessConsoleText << ".\n";
    if (flags & summary::kCustomConfigurationOff) console_ << kCustomOffConsoleText;
    settings_.summary_flags = 0;
  }
}

void MessageFunctions::CountDown() {
  console_ << "\n\nThis window will close in " << kCountdownSeconds << " seconds.... ";
  for (int n = kCountdownSeconds; n >= 1; --n) {
    console_ << n << ' ' << std::flush;
    clock_.SleepMs(kCountdownTickMs);
  }
}

}  // namespace pelgar::app
