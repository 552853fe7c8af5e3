#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/MessageFunctions.h"
#include "platform/VirtualClock.h"
#include "support/ScriptedMessageBoxes.h"

namespace pelgar::app {
namespace {

using ::testing::IsEmpty;

constexpr char kCountdown[] = "\n\nThis window will close in 5 seconds.... 5 4 3 2 1 ";
constexpr char kNotClaimed[] =
    "The MSR has not been claimed by the application.  Please be sure the COM port is not "
    "claimed by other applications.";
constexpr char kQuestion[] =
    "\"Use Custom Configuration\" is not selected.\n\nChanges to the MSR configuration will be "
    "stored...";
constexpr char kSuccess[] = "MSR Configuration is updated successfully.";
constexpr char kUpdateCaption[] = "Update MSR Configuration...";

class MessageFunctionsTest : public ::testing::Test {
 protected:
  RunSettings settings;
  testing::ScriptedMessageBoxes boxes;
  platform::VirtualClock clock;
  std::ostringstream console;
  MessageFunctions messages{settings, boxes, clock, console};
};

TEST_F(MessageFunctionsTest, InteractiveShowsBoxesAndReturnsTheButton) {
  boxes.answers = {ui::answer::kYes};
  EXPECT_EQ(messages.ShowMessage(kQuestion, "Enable Custom Configuration?",
                                 ui::box::kYesNo | ui::box::kIconInformation),
            ui::answer::kYes);
  EXPECT_EQ(messages.ShowPlainMessage("Please enter no more than 1 characters.",
                                      ui::box::kIconExclamation, 0),
            ui::answer::kOk);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].caption, "Enable Custom Configuration?");
  EXPECT_EQ(boxes.boxes[0].type, 0x44u);
  EXPECT_TRUE(boxes.boxes[1].application_box);
  EXPECT_EQ(settings.summary_flags, 0u);
  EXPECT_EQ(console.str(), "");
}

TEST_F(MessageFunctionsTest, ClassifiesByExactPrefixInTableOrder) {
  struct Case {
    const char* text;
    uint32_t bit;
  };
  for (const Case& c : {
           Case{"The MSR has not been claimed by the application", summary::kNotClaimed},
           Case{"Error occurred while applying changes to the MSR enhanced configuration.",
                summary::kEnhancedError},
           Case{"MSR Configuration is updated successfully", summary::kUpdated},
           Case{"About Unattended Mode...", summary::kUsage},
           Case{"\"Use Custom Configuration\" is not selected.", summary::kCustomConfigurationOff},
           Case{"Error opening configuration file.", summary::kFileError},
           Case{"Debugging MSR Command...", summary::kDebugCommand},
           Case{"The MSR has not been claimed", 0},  // shorter than the prefix
           Case{"msr configuration is updated successfully", 0},
           Case{"Update MSR Configuration...", 0},
           Case{"Configuration file x loaded successfully!", 0},
       }) {
    EXPECT_EQ(MessageFunctions::Classify(c.text), c.bit) << c.text;
  }
}

// Failures after which the configuration was not, or not wholly, applied must not end in
// the success summary.
TEST_F(MessageFunctionsTest, ApplyAndFileFailuresCountAsConfigurationErrors) {
  for (const char* text :
       {"Error occurred while applying changes to the MSR configuration.",
        "Error occurred while committing changes to the MSR configuration.",
        "Error occurred while applying changes to the Wedge Mode Language.",
        "Bad configuration file header.", "Error getting configuration data from file.",
        "Please enter no more than 3 characters."}) {
    uint32_t bit = MessageFunctions::Classify(text);
    EXPECT_TRUE(bit == summary::kEnhancedError || bit == summary::kFileError) << text;
  }
}

TEST_F(MessageFunctionsTest, SuccessfulLoadPrintsSuccessAndCountsDown) {
  settings.configuration_load = 1;
  EXPECT_EQ(messages.ShowMessage(kQuestion, "Enable Custom Configuration?", 0x44), 0);
  EXPECT_EQ(console.str(), "");
  EXPECT_EQ(messages.ShowMessage(kSuccess, kUpdateCaption, 0), 0);
  EXPECT_EQ(console.str(), std::string("MSR Configuration is updated successfully.\n") +
                               "\"Use Custom Configuration\" is disable" + kCountdown);
  EXPECT_EQ(clock.NowMs(), 5000);
  EXPECT_EQ(settings.summary_flags, 0u);
  EXPECT_THAT(boxes.boxes, IsEmpty());
}

TEST_F(MessageFunctionsTest, LoadWithoutReaderReportsNotClaimedAtTheEnd) {
  settings.configuration_load = 1;
  messages.ShowMessage(kNotClaimed, "Error!", 0);
  EXPECT_EQ(settings.summary_flags, summary::kNotClaimed);
  EXPECT_EQ(console.str(), "");
  messages.ShowMessage(kSuccess, kUpdateCaption, 0);
  EXPECT_EQ(console.str(), std::string(kNotClaimedConsoleText) + "." + kCountdown);
}

TEST_F(MessageFunctionsTest, MissingFileRecordsTheUsageSilentlyAndReportsTheError) {
  settings.configuration_load = 1;
  messages.ShowMessage("Error opening configuration file.", "Error!", 0x30);
  messages.ShowMessage("MSR Configuration Utility v1.32\n...", "About Unattended Mode...", 0x40);
  EXPECT_EQ(console.str(), "");
  messages.ShowMessage(kSuccess, kUpdateCaption, 0);
  EXPECT_EQ(console.str(), std::string(kErrorConsoleText) + "." + kCountdown);
}

TEST_F(MessageFunctionsTest, DebugCommandPrintsItsReport) {
  settings.debug_command = 1;
  messages.ShowMessage("\nMSR Command Response:\n:0100001118D6.\n", "Debugging MSR Command...", 0);
  EXPECT_EQ(console.str(), std::string("Debugging MSR Command...\n\n") +
                               "\nMSR Command Response:\n:0100001118D6.\n." + kCountdown);
}

TEST_F(MessageFunctionsTest, DebugCommandWithoutReaderEndsAtTheNotClaimedMessage) {
  settings.debug_command = 1;
  messages.ShowMessage(kNotClaimed, "Error!", 0);
  EXPECT_EQ(console.str(), std::string(kNotClaimedConsoleText) + "." + kCountdown);
}

TEST_F(MessageFunctionsTest, UsageDisplayPrintsTheUsageText) {
  settings.usage = 1;
  messages.ShowMessage("usage text", "About Unattended Mode...", 0x40);
  EXPECT_EQ(console.str(), std::string("About Unattended Mode\n\nusage text.") + kCountdown);
}

TEST_F(MessageFunctionsTest, UnattendedPlainMessagesAreOnlyRecorded) {
  settings.configuration_load = 1;
  int result = messages.ShowPlainMessage(
      "Please make sure the input of NON-TEXT characters and back-slash are following below "
      "format:...",
      0, 0);
  EXPECT_NE(result, 0);
  EXPECT_NE(result, ui::answer::kOk);
  EXPECT_NE(result, ui::answer::kYes);
  EXPECT_EQ(settings.summary_flags, summary::kFileError);
  EXPECT_EQ(console.str(), "");
  EXPECT_THAT(boxes.boxes, IsEmpty());
}

TEST_F(MessageFunctionsTest, RefusedSetConfigDoesNotEndInSuccess) {
  settings.configuration_load = 1;
  messages.ShowMessage("Error occurred while applying changes to the MSR configuration.", "", 0);
  messages.ShowMessage(kSuccess, kUpdateCaption, 0);
  EXPECT_EQ(console.str(), std::string(kErrorConsoleText) + "." + kCountdown);
}

}  // namespace
}  // namespace pelgar::app
