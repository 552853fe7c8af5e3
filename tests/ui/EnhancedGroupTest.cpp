#include <tuple>

#include "MainWindowFixture.h"

namespace pelgar::ui {
namespace {

constexpr char kFourteen[] = "ABCDEFGHIJKLMN";
constexpr char kEmptyWrappers[] = ":020000111200db";
// Carriage returns for tracks 1 and 3, capital mode; the language boxes.
constexpr Ids kCrAndLanguage = {id::kCrTrack1,  id::kCrTrack3, id::kCapitalMode,
                                id::kAltNumPad, id::kUsa,      id::kCustomTable};
constexpr Ids kWedgeOnly = {id::kCapitalMode, id::kAltNumPad, id::kUsa, id::kCustomTable};

using EnhancedGroupTest = MainWindowFixture;

TEST_F(EnhancedGroupTest, TypingOneWrapperShrinksTheOthersBudgetCountingEscapesAsOne) {
  store->Click(id::kHeadWrapper);
  store->Type(id::kHeadText, R"(AB\035\\GHIJKL)");  // 14 typed, 10 decoded: limit 14 + 4
  EXPECT_EQ(Wrappers(), "AB\\035\\\\GHIJKL| 10 10");
  EXPECT_EQ(store->Limit(id::kHeadText), 18u);
  EXPECT_EQ(Enabled({id::kEnhancedSet}), "1");
  store->Click(id::kTailWrapper);
  store->Type(id::kTailText, "WXYZQ");
  EXPECT_EQ(Wrappers(), "AB\\035\\\\GHIJKL|WXYZ 11 11");
  EXPECT_EQ(store->Limit(id::kHeadText), 14u);
  store->Backspace(id::kTailText, 4);
  store->Type(id::kTailText, "\\1\\");  // refused by the decoding: help shown, text kept
  EXPECT_THAT(messages.shown,
              ElementsAre(::testing::StartsWith("00: Please make sure the input of NON-")));
  EXPECT_EQ(Text(id::kTailText) + std::to_string(store->focused()),
            "\\1\\" + std::to_string(id::kTailText));
}

TEST_F(EnhancedGroupTest, GetShowsWrappersEscapedAndFourteenTypedOrReadExcludeTheOther) {
  reader.state().head_wrapper = "AB\\";
  store->Click(id::kEnhancedGet);
  EXPECT_EQ(Wrappers() + Enabled({kGap, id::kEnhancedSet, id::kSaveSettings}), "AB\\\\| 10 10 11");
  // Wrappers typed before a Get must not make the new ones look too long, and a reader's
  // 14 + 3 leaves the 3 in its unchecked box, out of every check: Set sends the 14 alone.
  for (bool head : {true, false}) {
    const int other_check = head ? id::kTailWrapper : id::kHeadWrapper;
    store->Click(other_check);
    store->Type(head ? id::kTailText : id::kHeadText, "XYZ");
    reader.state().head_wrapper = head ? kFourteen : "ABC";
    reader.state().tail_wrapper = head ? "ABC" : kFourteen;
    store->Click(id::kEnhancedGet);
    EXPECT_EQ(Wrappers(), head ? "ABCDEFGHIJKLMN|ABC 10 10" : "ABC|ABCDEFGHIJKLMN 01 01");
    reader.ClearLog();
    store->Click(id::kEnhancedSet);
    EXPECT_EQ(ActionFrames().at(0), head ? ":10000011124142434445464748494A4B4C4D4E00e4"
                                         : ":1000001112004142434445464748494A4B4C4D4Ee4");
    store->Click(other_check);  // refused at once
    EXPECT_EQ(Wrappers(), head ? "ABCDEFGHIJKLMN| 10 10" : "|ABCDEFGHIJKLMN 01 01");
  }
  // Typed, they uncheck the other box at once; unchecked, they leave it the whole room.
  Open();
  Click({id::kTailWrapper, id::kHeadWrapper});
  store->Type(id::kHeadText, kFourteen);
  EXPECT_EQ(Wrappers(), "ABCDEFGHIJKLMN| 10 10");
  store->Click(id::kHeadWrapper);
  EXPECT_EQ(Wrappers() + " " + std::to_string(store->Limit(id::kTailText)), "| 00 00 14");
  EXPECT_EQ(messages.shown, Lines{});
}

// Set sends the wrappers as the boxes show them, or nothing at all: a box the decoding
// refuses, or whose decoded text outgrows its room, stops it before the reader is claimed.
// Once the box is put right, the other box's wrapper goes too.
TEST_F(EnhancedGroupTest, SetSendsWhatTheBoxesShowOrNothing) {
  // The wrappers Get shows, the message of the refused Set, the reader's wrappers once the
  // head box holds "A".
  const std::tuple<const char*, const char*, const char*, const char*> kCases[] = {
      // A\007 cannot be typed back.
      {"A\x07", "XY", "00: Please make sure the input of NON-TEXT characters", "A|XY"},
      // Each within the reader's 14, not together.
      {"0123456789", "ABCDEFGHIJ", "30: Please enter no more than 4 characters.", "A|ABCDEFGHIJ"},
  };
  for (const auto& [head, tail, refused, sent] : kCases) {
    SCOPED_TRACE(sent);
    Open();
    messages.shown.clear();
    reader.state().head_wrapper = head;
    reader.state().tail_wrapper = tail;
    store->Click(id::kEnhancedGet);
    reader.ClearLog();
    store->Click(id::kEnhancedSet);
    EXPECT_EQ(reader.received_frames(), Lines{});
    EXPECT_THAT(messages.shown.back(), ::testing::StartsWith(refused));
    EXPECT_EQ(std::to_string(store->focused()) + Enabled({id::kEnhancedSet}),
              std::to_string(id::kHeadText) + "1");
    store->Paste(id::kHeadText, "A");
    store->Click(id::kEnhancedSet);
    EXPECT_EQ(reader.state().head_wrapper + "|" + reader.state().tail_wrapper, sent);
  }
}

TEST_F(EnhancedGroupTest, CapitalModeAndLanguageCountOnlyInTheWedgePosition) {
  reader.state().cr_byte = 0x1E;
  reader.state().wedge_language = 0xFF;
  store->SetCheck(id::kUsa, false);
  store->Click(id::kEnhancedGet);  // serial: USA shown, the wedge settings disabled
  EXPECT_EQ(Checks(kCrAndLanguage) + Enabled(kWedgeOnly), "1100100000");
  store->SetCheck(id::kCapitalMode, true);  // as a loaded file may leave it
  reader.ClearLog();
  store->Click(id::kEnhancedSet);  // capital mode off, no language
  EXPECT_THAT(ActionFrames(), ElementsAre(kEmptyWrappers, ":02000011130ECC"));
  EXPECT_FALSE(store->IsEnabled(id::kEnhancedSet));
  reader.state().slide_switch = sim::SlideSwitch::kWedge;
  reader.state().cr_byte = 0x1E;
  store->Click(id::kEnhancedGet);
  EXPECT_EQ(Checks(kCrAndLanguage) + Enabled(kWedgeOnly) + Checks({id::kWedgeMode}), "11100111111");
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
  Click({id::kCrTrack2, id::kEnhancedSet, id::kEnhancedGet});
  EXPECT_FALSE(store->IsEnabled(id::kEnhancedSet));
  const std::string kFailed = "/00: Error occurred while applying changes to the ";
  EXPECT_THAT(
      messages.shown,
      ElementsAre(kFailed + "MSR enhanced Wrapper configuration",
                  kFailed + "MSR enhanced configuration.", kFailed + "MSR Wrapper Configuration.",
                  kFailed + "Indivisual CR Configuration.", kFailed + "Wedge Mode Language.",
                  NotClaimed("COM3: the port is in use by another program; tried 10 times"),
                  NotClaimed("COM3: the port is in use by another program; tried 10 times")));
}

}  // namespace
}  // namespace pelgar::ui
