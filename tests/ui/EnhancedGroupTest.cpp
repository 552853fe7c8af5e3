#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "MainWindowFixture.h"

namespace pelgar::ui {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kFourteen[] = "ABCDEFGHIJKLMN";
constexpr char kEmptyWrappers[] = ":020000111200db";

class EnhancedGroupTest : public MainWindowFixture {
 protected:
  const EnhancedGroup& group() { return window->enhanced_group(); }
};

TEST_F(EnhancedGroupTest, TypingOneWrapperShrinksTheOthersBudget) {
  store->Click(id::kHeadWrapper);
  EXPECT_TRUE(store->IsEnabled(id::kHeadText));
  EXPECT_TRUE(store->IsEnabled(id::kEnhancedSet));
  store->Type(id::kHeadText, "ABCDEFGHIJ");
  EXPECT_EQ(group().tail_budget(), 4);
  store->Click(id::kTailWrapper);
  EXPECT_EQ(store->Limit(id::kTailText), 4u);
  store->Type(id::kTailText, "WXYZQ");
  EXPECT_EQ(Text(id::kTailText), "WXYZ");
  EXPECT_EQ(group().head_budget(), 10);
  EXPECT_EQ(store->Limit(id::kHeadText), 10u);
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

TEST_F(EnhancedGroupTest, EscapesCountAsOneCharacterOfTheBudget) {
  store->Click(id::kHeadWrapper);
  store->Type(id::kHeadText, "AB\\035\\\\");
  EXPECT_EQ(group().head_text(), "AB#\\");
  EXPECT_EQ(group().head_extra(), 4);
  EXPECT_EQ(group().tail_budget(), 10);
  EXPECT_EQ(store->Limit(id::kHeadText), 18u);  // budget 14 plus the extra count
}

TEST_F(EnhancedGroupTest, AFourteenthCharacterExcludesTheOtherWrapper) {
  store->Click(id::kTailWrapper);
  store->Click(id::kHeadWrapper);
  store->Type(id::kHeadText, kFourteen);
  EXPECT_FALSE(store->IsChecked(id::kTailWrapper));
  EXPECT_FALSE(store->IsEnabled(id::kTailText));
  store->Click(id::kTailWrapper);  // refused at once
  EXPECT_FALSE(store->IsChecked(id::kTailWrapper));
  EXPECT_THAT(messages.Texts(), IsEmpty());

  reader.ClearLog();
  store->Click(id::kEnhancedSet);
  std::vector<std::string> frames = ActionFrames();
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames[0].substr(0, 41),
            ":1000001112"
            "4142434445464748494A4B4C4D4E"
            "00");
  EXPECT_EQ(frames[0].size(), 43u);  // no tail after the separator, then the checksum
}

TEST_F(EnhancedGroupTest, UncheckingAWrapperEmptiesItsBox) {
  store->Click(id::kHeadWrapper);
  store->Type(id::kHeadText, "AB");
  store->Click(id::kHeadWrapper);
  EXPECT_EQ(Text(id::kHeadText), "");
  EXPECT_FALSE(store->IsEnabled(id::kHeadText));
  EXPECT_EQ(group().tail_budget(), 14);
  reader.ClearLog();
  store->Click(id::kEnhancedSet);
  EXPECT_EQ(ActionFrames().at(0), kEmptyWrappers);
}

TEST_F(EnhancedGroupTest, RefusedEscapeShowsTheHelpAndKeepsTheText) {
  store->Click(id::kHeadWrapper);
  store->Type(id::kHeadText, "A\\1\\");
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_TRUE(messages.shown.back().plain);
  EXPECT_EQ(messages.shown.back().text.substr(0, 50),
            "Please make sure the input of NON-TEXT characters ");
  EXPECT_EQ(Text(id::kHeadText), "A\\1\\");
  EXPECT_EQ(store->focused(), id::kHeadText);
}

TEST_F(EnhancedGroupTest, GetShowsWrappersInTheirEscapedForm) {
  reader.state().head_wrapper = "AB\\";
  store->Click(id::kEnhancedGet);
  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_EQ(Text(id::kHeadText), "AB\\\\");
  EXPECT_TRUE(store->IsChecked(id::kHeadWrapper));
  EXPECT_TRUE(store->IsEnabled(id::kHeadText));
  EXPECT_FALSE(store->IsChecked(id::kTailWrapper));
  EXPECT_EQ(Text(id::kTailText), "");
  EXPECT_FALSE(store->IsEnabled(id::kTailText));
  EXPECT_EQ(group().tail_budget(), 11);
  EXPECT_EQ(store->Limit(id::kTailText), 11u);
  EXPECT_TRUE(store->IsEnabled(id::kEnhancedSet));
  EXPECT_TRUE(store->IsEnabled(id::kSaveSettings));
}

TEST_F(EnhancedGroupTest, GetWithAFourteenCharacterWrapperExcludesTheOther) {
  // Typed wrappers before the Get must not make the new ones look too long.
  store->Click(id::kTailWrapper);
  store->Type(id::kTailText, "XYZ");
  reader.state().head_wrapper = kFourteen;
  store->Click(id::kEnhancedGet);
  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_EQ(Text(id::kHeadText), kFourteen);
  EXPECT_FALSE(store->IsChecked(id::kTailWrapper));
  EXPECT_FALSE(store->IsEnabled(id::kTailText));
  store->Click(id::kTailWrapper);
  EXPECT_FALSE(store->IsChecked(id::kTailWrapper));

  reader.state().head_wrapper.clear();
  reader.state().tail_wrapper = kFourteen;
  store->Click(id::kEnhancedGet);
  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_TRUE(store->IsChecked(id::kTailWrapper));
  EXPECT_FALSE(store->IsChecked(id::kHeadWrapper));
  EXPECT_FALSE(store->IsEnabled(id::kHeadText));
}

TEST_F(EnhancedGroupTest, SerialPositionHidesTheWedgeSettings) {
  reader.state().cr_byte = 0x1E;
  reader.state().wedge_language = 0x00;
  store->SetCheck(id::kUsa, false);
  store->Click(id::kEnhancedGet);
  EXPECT_TRUE(store->IsChecked(id::kCrTrack1) && store->IsChecked(id::kCrTrack3));
  EXPECT_TRUE(store->IsChecked(id::kUsa));
  EXPECT_FALSE(store->IsChecked(id::kAltNumPad) || store->IsChecked(id::kCapitalMode));
  for (int control : {id::kCapitalMode, id::kAltNumPad, id::kUsa, id::kCustomTable}) {
    EXPECT_FALSE(store->IsEnabled(control)) << control;
  }
  store->SetCheck(id::kCapitalMode, true);  // as a loaded file may leave it
  reader.ClearLog();
  store->Click(id::kEnhancedSet);
  // Capital mode off, no language command.
  EXPECT_THAT(ActionFrames(), ElementsAre(kEmptyWrappers, ":02000011130ECC"));
  EXPECT_FALSE(store->IsEnabled(id::kEnhancedSet));
}

TEST_F(EnhancedGroupTest, WedgePositionReadsAndWritesCapitalModeAndLanguage) {
  reader.state().slide_switch = sim::SlideSwitch::kWedge;
  reader.state().cr_byte = 0x1E;
  reader.state().wedge_language = 0xFF;
  store->Click(id::kEnhancedGet);
  EXPECT_TRUE(store->IsChecked(id::kWedgeMode));
  EXPECT_FALSE(store->IsChecked(id::kSerialMode));
  EXPECT_TRUE(store->IsChecked(id::kCapitalMode) && store->IsEnabled(id::kCapitalMode));
  EXPECT_TRUE(store->IsChecked(id::kCustomTable));
  EXPECT_FALSE(store->IsChecked(id::kUsa));
  store->Click(id::kAltNumPad);
  EXPECT_FALSE(store->IsChecked(id::kCustomTable));
  reader.ClearLog();
  store->Click(id::kEnhancedSet);
  EXPECT_THAT(ActionFrames(), ElementsAre(kEmptyWrappers, ":02000011131EBC", ":020000111500D8"));
  EXPECT_EQ(reader.state().wedge_language, 0x00);
}

TEST_F(EnhancedGroupTest, ClickingTheChosenLanguageLeavesNoneChosenAndSendsNone) {
  reader.state().slide_switch = sim::SlideSwitch::kWedge;
  store->Click(id::kEnhancedGet);
  store->Click(id::kUsa);
  EXPECT_FALSE(store->IsChecked(id::kUsa) || store->IsChecked(id::kAltNumPad) ||
               store->IsChecked(id::kCustomTable));
  reader.ClearLog();
  store->Click(id::kEnhancedSet);
  EXPECT_THAT(ActionFrames(), ElementsAre(kEmptyWrappers, ":020000111300DA"));
}

TEST_F(EnhancedGroupTest, FailedQueriesAreReportedAndTheRestIsStillRead) {
  reader.state().slide_switch = sim::SlideSwitch::kWedge;
  reader.state().cr_byte = 0x02;
  reader.state().wedge_language = 0x00;
  ports.corrupted = {":020000111900D4", ":0100001116D8"};
  store->Click(id::kEnhancedGet);
  EXPECT_THAT(messages.Texts(),
              ElementsAre("Error occurred while applying changes to the MSR enhanced Wrapper "
                          "configuration",
                          "Error occurred while applying changes to the MSR enhanced "
                          "configuration."));
  EXPECT_EQ(messages.shown[0].caption, "");
  EXPECT_TRUE(store->IsChecked(id::kCrTrack1));
}

TEST_F(EnhancedGroupTest, FailedCommandsAreReportedAndTheOthersStillSent) {
  reader.state().slide_switch = sim::SlideSwitch::kWedge;
  store->Click(id::kEnhancedGet);
  ports.corrupted = {kEmptyWrappers, ":020000111300DA", ":020000111501D7"};
  reader.ClearLog();
  store->Click(id::kEnhancedSet);
  EXPECT_THAT(messages.Texts(),
              ElementsAre("Error occurred while applying changes to the MSR Wrapper Configuration.",
                          "Error occurred while applying changes to the Indivisual CR "
                          "Configuration.",
                          "Error occurred while applying changes to the Wedge Mode Language."));
  EXPECT_EQ(ActionFrames().size(), 3u);
  EXPECT_FALSE(store->IsEnabled(id::kEnhancedSet));
}

TEST_F(EnhancedGroupTest, FailedClaimDisablesSet) {
  sim_ports.busy = true;
  store->Click(id::kCrTrack2);
  EXPECT_TRUE(store->IsEnabled(id::kEnhancedSet));
  store->Click(id::kEnhancedSet);
  EXPECT_THAT(messages.Texts(), ElementsAre(kNotClaimed));
  EXPECT_EQ(messages.shown[0].caption, "Error!");
  EXPECT_FALSE(store->IsEnabled(id::kEnhancedSet));
  store->Click(id::kEnhancedGet);
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_TRUE(store->IsChecked(id::kSerialMode));
}

}  // namespace
}  // namespace pelgar::ui
