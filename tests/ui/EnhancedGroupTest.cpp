#include "MainWindowFixture.h"

namespace pelgar::ui {
namespace {

constexpr char kFourteen[] = "ABCDEFGHIJKLMN";
constexpr char kEmptyWrappers[] = ":020000111200db";
// Carriage returns for tracks 1 and 3, capital mode; the language boxes.
constexpr std::initializer_list<int> kCrAndLanguage = {1032, 1034, 1079, 1075, 1076, 1080};
constexpr std::initializer_list<int> kWedgeOnly = {1079, 1075, 1076, 1080};

using EnhancedGroupTest = MainWindowFixture;

TEST_F(EnhancedGroupTest, TypingOneWrapperShrinksTheOthersBudgetCountingEscapesAsOne) {
  store->Click(id::kHeadWrapper);
  EXPECT_EQ(Enabled({id::kHeadText, id::kEnhancedSet}), "11");
  store->Type(id::kHeadText, "AB\\035\\\\GHIJKL");  // 14 typed, 10 decoded
  EXPECT_EQ(window->enhanced_group().head_text(), "AB#\\GHIJKL");
  EXPECT_EQ(store->Limit(id::kHeadText), 18u);  // budget 14 plus the 4 the escapes add
  store->Click(id::kTailWrapper);
  store->Type(id::kTailText, "WXYZQ");
  EXPECT_EQ(Text(id::kTailText), "WXYZ");
  EXPECT_EQ(store->Limit(id::kHeadText), 14u);
  EXPECT_THAT(messages.Texts(), IsEmpty());

  store->Backspace(id::kTailText, 4);
  store->Type(id::kTailText, "\\1\\");  // refused by the decoding: help shown, text kept
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_TRUE(messages.shown.back().plain);
  EXPECT_EQ(messages.shown.back().text.rfind("Please make sure the input of NON-TEXT", 0), 0u);
  EXPECT_EQ(Text(id::kTailText), "\\1\\");
  EXPECT_EQ(store->focused(), id::kTailText);
}

TEST_F(EnhancedGroupTest, FourteenCharactersExcludeTheOtherWrapperAndUncheckingEmpties) {
  store->Click(id::kTailWrapper);
  store->Click(id::kHeadWrapper);
  store->Type(id::kHeadText, kFourteen);
  store->Click(id::kTailWrapper);  // refused at once
  EXPECT_EQ(Checks({id::kTailWrapper}) + Enabled({id::kTailText}), "00");
  reader.ClearLog();
  store->Click(id::kEnhancedSet);  // no tail after the separator
  EXPECT_EQ(ActionFrames().at(0), ":10000011124142434445464748494A4B4C4D4E00e4");

  store->Click(id::kHeadWrapper);
  EXPECT_EQ(Text(id::kHeadText) + Enabled({id::kHeadText}), "0");
  EXPECT_EQ(store->Limit(id::kTailText), 14u);
  store->Click(id::kEnhancedSet);
  EXPECT_EQ(ActionFrames().at(0), kEmptyWrappers);
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

TEST_F(EnhancedGroupTest, GetShowsWrappersEscapedAndAFourteenCharacterOneExcludesTheOther) {
  reader.state().head_wrapper = "AB\\";
  store->Click(id::kEnhancedGet);
  EXPECT_EQ(Text(id::kHeadText) + "|" + Text(id::kTailText), "AB\\\\|");
  EXPECT_EQ(Checks({id::kHeadWrapper, id::kTailWrapper}), "10");
  EXPECT_EQ(Enabled({id::kHeadText, id::kTailText, id::kEnhancedSet, id::kSaveSettings}), "1011");
  EXPECT_EQ(store->Limit(id::kTailText), 11u);

  // Wrappers typed before a Get must not make the new ones look too long.
  for (bool head : {true, false}) {
    int other_check = head ? id::kTailWrapper : id::kHeadWrapper;
    store->Click(other_check);
    store->Type(head ? id::kTailText : id::kHeadText, "XYZ");
    reader.state().head_wrapper = head ? kFourteen : "";
    reader.state().tail_wrapper = head ? "" : kFourteen;
    store->Click(id::kEnhancedGet);
    store->Click(other_check);  // refused at once
    EXPECT_EQ(Text(head ? id::kHeadText : id::kTailText), kFourteen);
    EXPECT_EQ(Checks({id::kHeadWrapper, id::kTailWrapper}), head ? "10" : "01");
    EXPECT_EQ(Enabled({id::kHeadText, id::kTailText}), head ? "10" : "01");
  }
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

TEST_F(EnhancedGroupTest, CapitalModeAndLanguageCountOnlyInTheWedgePosition) {
  reader.state().cr_byte = 0x1E;
  reader.state().wedge_language = 0xFF;
  store->SetCheck(id::kUsa, false);
  store->Click(id::kEnhancedGet);  // serial: USA shown, the wedge settings disabled
  EXPECT_EQ(Checks(kCrAndLanguage) + Enabled(kWedgeOnly),
            "110010"
            "0000");
  store->SetCheck(id::kCapitalMode, true);  // as a loaded file may leave it
  reader.ClearLog();
  store->Click(id::kEnhancedSet);  // capital mode off, no language
  EXPECT_THAT(ActionFrames(), ElementsAre(kEmptyWrappers, ":02000011130ECC"));
  EXPECT_FALSE(store->IsEnabled(id::kEnhancedSet));

  reader.state().slide_switch = sim::SlideSwitch::kWedge;
  reader.state().cr_byte = 0x1E;
  store->Click(id::kEnhancedGet);
  EXPECT_EQ(Checks(kCrAndLanguage) + Enabled(kWedgeOnly),
            "111001"
            "1111");
  EXPECT_TRUE(store->IsChecked(id::kWedgeMode));
  store->Click(id::kAltNumPad);
  reader.ClearLog();
  store->Click(id::kEnhancedSet);
  EXPECT_THAT(ActionFrames(), ElementsAre(kEmptyWrappers, ":02000011131EBC", ":020000111500D8"));
  store->Click(id::kAltNumPad);  // the chosen box clicked: none is chosen, none is sent
  EXPECT_EQ(Checks(kCrAndLanguage), "111000");
  store->Click(id::kEnhancedSet);
  EXPECT_THAT(ActionFrames(), ElementsAre(kEmptyWrappers, ":02000011131EBC"));
}

TEST_F(EnhancedGroupTest, EachFailureIsReportedAndTheActionGoesOn) {
  reader.state().slide_switch = sim::SlideSwitch::kWedge;
  reader.state().cr_byte = 0x02;
  ports.corrupted = {":020000111900D4", ":0100001116D8"};  // wrapper and language queries
  store->Click(id::kEnhancedGet);
  EXPECT_TRUE(store->IsChecked(id::kCrTrack1));  // read in between
  // Whichever language the failed query left is refused too.
  ports.corrupted = {kEmptyWrappers, ":020000111302D8", ":020000111500D8", ":020000111501D7",
                     ":0200001115FFD9"};
  store->Click(id::kEnhancedSet);
  EXPECT_FALSE(store->IsEnabled(id::kEnhancedSet));
  sim_ports.busy = true;
  store->Click(id::kCrTrack2);
  store->Click(id::kEnhancedSet);
  store->Click(id::kEnhancedGet);
  EXPECT_FALSE(store->IsEnabled(id::kEnhancedSet));
  EXPECT_THAT(messages.Texts(),
              ElementsAre("Error occurred while applying changes to the MSR enhanced Wrapper "
                          "configuration",
                          "Error occurred while applying changes to the MSR enhanced "
                          "configuration.",
                          "Error occurred while applying changes to the MSR Wrapper Configuration.",
                          "Error occurred while applying changes to the Indivisual CR "
                          "Configuration.",
                          "Error occurred while applying changes to the Wedge Mode Language.",
                          kNotClaimed, kNotClaimed));
  EXPECT_EQ(messages.shown[0].caption + std::to_string(messages.shown[4].type), "0");
  EXPECT_EQ(messages.shown[5].caption, "Error!");
}

}  // namespace
}  // namespace pelgar::ui
