#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/MessageFunctions.h"
#include "platform/VirtualClock.h"
#include "support/ScriptedMessageBoxes.h"

namespace pelgar::app {
namespace {

// The summaries of whole runs: see UnattendedRunTest.
class MessageFunctionsTest : public ::testing::Test {
 protected:
  RunSettings settings;
  testing::ScriptedMessageBoxes boxes;
  platform::VirtualClock clock;
  std::ostringstream console;
  MessageFunctions messages{settings, boxes, clock, console};
};

TEST_F(MessageFunctionsTest, InteractiveRunsShowBoxesAndReturnTheButton) {
  boxes.answers = {ui::answer::kYes};
  EXPECT_EQ(messages.ShowMessage("\"Use Custom Configuration\" is not selected...",
                                 "Enable Custom Configuration?", 0x44),
            ui::answer::kYes);
  EXPECT_EQ(messages.ShowPlainMessage("Please enter no more than 1 characters.", 0x30, 0),
            ui::answer::kOk);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].caption, "Enable Custom Configuration?");
  EXPECT_EQ(boxes.boxes[0].type, 0x44u);
  EXPECT_TRUE(boxes.boxes[1].application_box);
  EXPECT_EQ(settings.summary_flags, 0u);
  EXPECT_EQ(console.str(), "");
}

TEST_F(MessageFunctionsTest, ClassifiesByExactPrefix) {
  const struct {
    const char* text;
    uint32_t bit;
  } cases[] = {
      {"The MSR has not been claimed by the application", summary::kNotClaimed},
      {"MSR Configuration is updated successfully", summary::kUpdated},
      {"About Unattended Mode...", summary::kUsage},
      {"\"Use Custom Configuration\" is not selected.", summary::kCustomConfigurationOff},
      {"Debugging MSR Command...", summary::kDebugCommand},
      // Failures after which the configuration was not, or not wholly, applied.
      {"Error occurred while applying changes to the MSR enhanced configuration.",
       summary::kEnhancedError},
      {"Error occurred while committing changes to the MSR configuration.",
       summary::kEnhancedError},
      {"Error occurred while applying changes to the Wedge Mode Language.",
       summary::kEnhancedError},
      {"Error opening configuration file.", summary::kFileError},
      {"Bad configuration file header.", summary::kFileError},
      {"Error getting configuration data from file.", summary::kFileError},
      {"Please enter no more than 3 characters.", summary::kFileError},
      {"The MSR has not been claimed", 0},  // shorter than the prefix
      {"msr configuration is updated successfully", 0},
      {"Update MSR Configuration...", 0},
      {"Configuration file x loaded successfully!", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageFunctions::Classify(c.text), c.bit) << c.text;
}

// Unattended, no box appears: messages are only recorded until the one that ends the run
// prints the summary of them all and counts down.
TEST_F(MessageFunctionsTest, UnattendedMessagesAreRecordedUntilTheSummary) {
  settings.configuration_load = 1;
  const int plain = messages.ShowPlainMessage(
      "Please make sure the input of NON-TEXT characters and back-slash are following...", 0, 0);
  EXPECT_EQ(plain, kConsoleOnlyResult);  // neither 0 nor a button
  EXPECT_EQ(messages.ShowMessage("MSR Configuration Utility v1.32", "About Unattended Mode...", 0),
            0);
  EXPECT_EQ(console.str(), "");
  messages.ShowMessage("MSR Configuration is updated successfully.", "Update...", 0);
  EXPECT_EQ(console.str(),
            "There was an error found during MSR Configuration update.\n   Please make sure "
            "configuration file is exist and in correct format..\n\nThis window will close in 5 "
            "seconds.... 5 4 3 2 1 ");
  EXPECT_EQ(clock.NowMs(), 5000);
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
}  // namespace pelgar::app
