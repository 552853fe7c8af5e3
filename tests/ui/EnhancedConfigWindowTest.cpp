#include <functional>
#include <utility>

#include "MainWindowFixture.h"
#include "config/ConfigurationRecord.h"
#include "support/ScriptedHost.h"
#include "ui/enhanced/EnhancedConfigTemplate.h"
#include "ui/enhanced/EnhancedConfigWindow.h"

namespace pelgar::ui {
namespace {

namespace ids = enhanced_id;
using Script = std::function<void(ControlStore&)>;

const std::string kFailed =
    "/00: Error occurred while applying changes to the MSR enhanced configuration.";

void Fill(ControlStore& s, size_t row, int entry, std::string_view text) {
  s.Choose(ids::kRowLists[row], entry);
  s.Type(ids::kRowBoxes[row], text);
}

// The window opened on its own on the scripted host, which plays the queued script as the user.
class EnhancedConfigWindowTest : public MainWindowFixture {
 protected:
  EnhancedConfigWindowTest() {
    dialog.SetPortTexts({"COM3", "19200"});
    window->hooks().enhanced_window = [this](const PortTexts& texts, bool allowed) {
      dialog.SetPortTexts(texts);
      dialog.SetIndividualCrAllowed(allowed);
      dialog.Open(host);
    };
  }
  ControlStore& Show(Script script = nullptr) {
    if (script) host.Then(ids::kDialog, std::move(script));
    dialog.Open(host);
    return *host.Last(ids::kDialog);
  }
  ControlStore& last() { return *host.Last(ids::kDialog); }
  Lines Sent(std::string_view command) const {
    Lines found;
    for (const std::string& frame : reader.received_frames()) {
      if (frame.substr(3, 6) == "000011" && frame.substr(9, 2) == command) found.push_back(frame);
    }
    return found;
  }

  testing::ScriptedHost host{clock};
  EnhancedConfigWindow dialog{env, messages};
};

// Opened from the main window's menu, with what its last Get or Set Config learnt about the
// reader's own carriage return.
TEST_F(EnhancedConfigWindowTest, CarriageReturnsAreOfferedWhenTheRecordAllows) {
  store->ChooseMenuCommand(id::kEnhancedWindowCommand);  // before any Get or Set Config
  EXPECT_EQ(EnabledOf(last(), {ids::kCrTrack1, ids::kGetCr, ids::kSetCustom, ids::kRowBoxes[6]}),
            "0000");
  EXPECT_EQ(last().Selected(ids::kLanguageList), 0);
  EXPECT_TRUE(reader.received_frames().empty());  // opening talks to nobody

  reader.state().active_option_byte = config::kCustomConfigurationBit;  // no carriage return
  reader.state().cr_byte = 0x0A | 0x10;                                 // tracks 1 and 3, capital
  store->Click(id::kGetConfig);
  host.Then(ids::kDialog, [](ControlStore& s) {
    EXPECT_EQ(EnabledOf(s, {ids::kCrTrack3, ids::kGetCr, ids::kSetCr}), "110");
    s.Click(ids::kGetCr);
    EXPECT_EQ(ChecksOf(s, {ids::kCrTrack1, ids::kCrTrack2, ids::kCrTrack3}), "101");
    s.Click(ids::kSetCr);
  });
  store->ChooseMenuCommand(id::kEnhancedWindowCommand);
  // No capital mode from this window.
  EXPECT_EQ(Sent("13").back() + dialog.remembered_cr_line(), ":02000011130AD013:0A");
  Click({id::kCarriageReturn, id::kSetConfig});  // Set Config sends it on
  store->ChooseMenuCommand(id::kEnhancedWindowCommand);
  EXPECT_FALSE(last().IsEnabled(ids::kCrTrack2));
}

// The boxes share the reader's fourteen characters as decoded ("\035" is one); what was
// decoded reappears on reopening, and a box left no room takes no typing.
TEST_F(EnhancedConfigWindowTest, WrapperBudgetsFollowTheDecodedTextsAndReappearOnReopening) {
  Show([](ControlStore& s) {
    s.Click(ids::kHeadCheck);
    s.Type(ids::kHeadBox, "ABCD\\035EF");  // 10 typed, 7 decoded
    EXPECT_EQ(s.Limit(ids::kHeadBox), 17u);
    s.Click(ids::kTailCheck);
    s.Type(ids::kTailBox, "0123456789");
    s.Click(ids::kHeadCheck);  // unchecked, the head keeps its text and its room
    EXPECT_EQ(s.Text(ids::kHeadBox) + "|" + s.Text(ids::kTailBox), "ABCD\\035EF|0123456");
    EXPECT_EQ(s.Limit(ids::kTailBox), 7u);
    s.Click(ids::kSetWrapper);
    EXPECT_FALSE(s.IsEnabled(ids::kSetWrapper));
  });
  EXPECT_EQ(reader.state().head_wrapper + "|" + reader.state().tail_wrapper, "ABCD#EF|0123456");
  ControlStore& again = Show([](ControlStore& s) {
    EXPECT_EQ(s.Text(ids::kHeadBox) + ChecksOf(s, {ids::kHeadCheck, ids::kTailCheck}) +
                  EnabledOf(s, {ids::kHeadBox, ids::kSetWrapper}),
              "ABCD#EF1110");
    s.Backspace(ids::kHeadBox, 7);
    s.Type(ids::kTailBox, "789ABCDE");  // 14 decoded: the head has no room
    EXPECT_FALSE(s.Type(ids::kHeadBox, "X"));
    s.Backspace(ids::kTailBox);  // room for one again
    EXPECT_EQ(EnabledOf(s, {ids::kHeadBox}) + std::to_string(s.Limit(ids::kHeadBox)), "11");
    s.PressEnter();
  });
  EXPECT_EQ(dialog.tail_text() + std::to_string(again.result()), "0123456789ABC1");
  EXPECT_EQ(messages.shown, Lines{});
}

// A wrapper box the decoding refuses stops "Set Data Wrapper" before anything is sent, and
// the other box is decoded again once it is put right; typing in the custom rows meanwhile
// is neither lost nor answered with the wrapper's help.
TEST_F(EnhancedConfigWindowTest, ARefusedWrapperBoxStopsItsSetButNotTheCustomRows) {
  Show([this](ControlStore& s) {
    ClickEach(s, {ids::kHeadCheck, ids::kTailCheck});
    s.Type(ids::kHeadBox, "AB\\1\\");
    s.Type(ids::kTailBox, "XY");  // not decoded while the head is refused
    s.Click(ids::kSetWrapper);
    EXPECT_EQ(std::to_string(Sent("12").size()) + EnabledOf(s, {ids::kSetWrapper}), "01");
    EXPECT_EQ(s.focused(), ids::kHeadBox);
    Fill(s, 0, 34, "q");
    EXPECT_EQ(s.Text(ids::kRowBoxes[0]) + EnabledOf(s, {ids::kSetCustom}), "q1");
    s.Click(ids::kSetCustom);
    s.Backspace(ids::kHeadBox);  // an escape left unfinished is dropped
    s.Click(ids::kSetWrapper);
  });
  EXPECT_THAT(Sent("17"), ElementsAre(":040000111741007122"));
  EXPECT_EQ(reader.state().head_wrapper + "|" + reader.state().tail_wrapper, "AB|XY");
  EXPECT_EQ(messages.shown.size(), 4u);  // the head's last key, X, Y and the first Set
  EXPECT_THAT(messages.shown, ::testing::Each(::testing::StartsWith("00: Please make sure")));
}

TEST_F(EnhancedConfigWindowTest, LanguagesWithoutAFrameSendNothingButAreRemembered) {
  Show([](ControlStore& s) {
    s.Choose(ids::kLanguageList, 7);  // Brazilian Portuguese
    s.Click(ids::kSetLanguage);
    EXPECT_FALSE(s.IsEnabled(ids::kSetLanguage));
  });
  EXPECT_TRUE(Sent("15").empty());
  EXPECT_THAT(messages.shown, ElementsAre(kFailed));
  EXPECT_EQ(dialog.remembered_language_line(), "15:07");
  Show([](ControlStore& s) {
    EXPECT_EQ(s.Selected(ids::kLanguageList), 7);          // reopened as remembered
    s.Choose(ids::kLanguageList, 9);                       // "Custom Table" is the reader's 0xFF
    ClickEach(s, {ids::kSetLanguage, ids::kGetLanguage});  // and is shown as itself
    EXPECT_EQ(s.Selected(ids::kLanguageList), 9);
  });
  EXPECT_EQ(Sent("15").back() + dialog.remembered_language_line(), ":0200001115FFD915:FF");
  reader.state().wedge_language = 0x09;  // a code without an entry: none
  Show([](ControlStore& s) {
    s.Click(ids::kGetLanguage);
    EXPECT_EQ(s.Selected(ids::kLanguageList), -1);
  });
  dialog.SetPortTexts({"COM4", "19200"});  // no such port: only the Set button is disabled
  Show([](ControlStore& s) {
    s.Choose(ids::kLanguageList, 1);
    ClickEach(s, {ids::kSetLanguage, ids::kGetLanguage});
    EXPECT_EQ(EnabledOf(s, {ids::kSetLanguage, ids::kGetLanguage}), "01");
  });
  const std::string not_claimed = NotClaimed("COM4: no such device; tried 10 times");
  EXPECT_THAT(messages.shown, ElementsAre(kFailed, not_claimed, not_claimed));
}

TEST_F(EnhancedConfigWindowTest, CustomRowsAreSentInOrderOnlyFromTheOpeningThatFilledThem) {
  Show([](ControlStore& s) {
    Fill(s, 0, 10, "q");
    Fill(s, 2, 11, "r");
    s.Choose(ids::kRowLists[2], 0);  // None empties and disables its row
    EXPECT_EQ(s.Text(ids::kRowBoxes[2]) + EnabledOf(s, {ids::kRowBoxes[2], ids::kSetCustom}), "01");
    s.Choose(ids::kRowLists[0], 0);
    EXPECT_FALSE(s.IsEnabled(ids::kSetCustom));
    Fill(s, 6, 12, "s");
  });  // closed without Set: row 7 is dropped
  ControlStore& shown = Show([](ControlStore& s) {
    Fill(s, 4, 1, "_");    // row 5: code 0x20
    Fill(s, 1, 34, "xy");  // row 2: code 0x41, one character only
    s.Click(ids::kSetCustom);
  });
  EXPECT_THAT(Sent("17"), ElementsAre(":0600001117412000785F9A"));
  // Sent, the rows are cleared.
  EXPECT_EQ(std::to_string(shown.Selected(ids::kRowLists[1])) + shown.Text(ids::kRowBoxes[4]) +
                EnabledOf(shown, {ids::kRowBoxes[1], ids::kSetCustom}),
            "000");
}

TEST_F(EnhancedConfigWindowTest, ResetAsksFirstThenResetsEveryCodeGoingOnPastFailures) {
  auto reset = [](ControlStore& s) { s.Click(ids::kResetCustom); };
  Show(reset);  // answered No
  EXPECT_TRUE(reader.received_frames().empty());
  messages.answers = {answer::kYes, answer::kYes};
  Show(reset);
  const Lines resets = Sent("17");
  ASSERT_EQ(resets.size(), 64u);
  EXPECT_EQ(resets.front() + resets.back().substr(0, 17), ":040000111720002094:04000011175F005F");
  ports.corrupted = {resets[0], resets[30], resets[63]};  // refused, the loop goes on
  Show(reset);
  EXPECT_EQ(Sent("17").size(), 128u);
  const std::string question =
      "Warning!/04: Confirm to reset the custom table back to original table?";
  EXPECT_THAT(messages.shown, ElementsAre(question, question, question, kFailed, kFailed, kFailed));
}

}  // namespace
}  // namespace pelgar::ui
