#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/MessageFunctions.h"
#include "platform/VirtualClock.h"
#include "support/ScriptedHost.h"

namespace pelgar::app {
namespace {

// Unattended runs and their summaries: see UnattendedRunTest.
TEST(MessageFunctions, InteractiveRunsShowBoxesAndReturnTheButton) {
  RunSettings settings;
  platform::VirtualClock clock;
  testing::ScriptedHost boxes{clock};
  std::ostringstream console;
  MessageFunctions messages{settings, boxes, clock, console};
  boxes.answers = {ui::answer::kYes};
  EXPECT_EQ(messages.ShowMessage("Enable?", "Use Custom", 0x44), ui::answer::kYes);
  EXPECT_EQ(messages.ShowPlainMessage("Too long.", 0x30), ui::answer::kOk);
  // A plain message is the application's box, without a caption of its own.
  EXPECT_EQ(boxes.shown, (std::vector<std::string>{"Use Custom/44: Enable?", "30: Too long."}));
  EXPECT_EQ(settings.summary_flags + console.str().size(), 0u);
}

// The other prefixes are each caught by the unattended run that prints them.
TEST(MessageClassification, ByExactPrefixOfCaptionOrText) {
  using namespace summary;
  const std::pair<const char*, uint32_t> kCases[] = {
      {"Error getting configuration data from file.", kFileError},
      {"The MSR has not been claimed", 0},  // shorter than the prefix
      {"msr configuration is updated successfully", 0},
  };
  for (auto [text, bit] : kCases) EXPECT_EQ(MessageFunctions::Classify(text), bit) << text;
}

}  // namespace
}  // namespace pelgar::app
