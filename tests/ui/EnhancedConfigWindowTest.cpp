#include <algorithm>

#include "MainWindowFixture.h"
#include "ScriptedDialogHost.h"
#include "config/ConfigurationRecord.h"
#include "config/EnhancedSettings.h"
#include "ui/EnhancedConfigTemplate.h"
#include "ui/EnhancedConfigWindow.h"

namespace pelgar::ui {
namespace {

namespace ids = enhanced_ids;

constexpr char kFailed[] =
    "Error occurred while applying changes to the MSR enhanced configuration.";

// The enhanced configuration window, opened on its own (the main window stays idle).
class EnhancedConfigWindowTest : public MainWindowFixture {
 protected:
  EnhancedConfigWindowTest() { dialog.SetPortTexts({"COM3", "19200"}); }

  ControlStore& Show(ScriptedDialogHost::Script script = [](ControlStore&) {}) {
    host.Then(std::move(script));
    dialog.Open(host);
    return host.last();
  }
  // Frames of one reader command, by its command byte.
  Frames Sent(std::string_view command) const {
    Frames found;
    for (const std::string& frame : reader.received_frames()) {
      if (frame.substr(3, 6) == "000011" && frame.substr(9, 2) == command) found.push_back(frame);
    }
    return found;
  }
  long Count(const std::string& text) const { return std::ranges::count(messages.Texts(), text); }

  EnhancedConfigWindow dialog{env, messages};
  ScriptedDialogHost host;
};

TEST(EnhancedConfigTemplate, CharacterListLabelsNameCodeAndDefaultOutput) {
  const std::vector<std::string>& labels = CharacterListLabels();
  ASSERT_EQ(labels.size(), 96u);
  const std::pair<int, const char*> expected[] = {
      {0, " - None -"},      {1, "MSRT1(20) = ' '"}, {2, "MSRT1(21) = null"}, {4, "MSRT1(23) = ?"},
      {34, "MSRT1(41) = A"}, {65, "MSRTx(60) = `"},  {95, "MSRTx(7E) = ~"}};
  for (const auto& [index, label] : expected) EXPECT_EQ(labels[index], label);
  EXPECT_EQ(EnhancedConfigTemplate().Find(ids::kRowLists[6])->items, labels);
}

TEST_F(EnhancedConfigWindowTest, CarriageReturnsAreOfferedWhenAllowedAndReopenAsLastSet) {
  ControlStore& first = Show();  // before the main window has read or written the record
  EXPECT_EQ(EnabledOf(first, {ids::kCrTrack1, ids::kGetCr, ids::kSetCustom, ids::kRowBoxes[6]}),
            "0000");
  EXPECT_EQ(first.Selected(ids::kLanguageList), 0);
  EXPECT_EQ(first.Limit(ids::kHeadBox), 14u);
  EXPECT_EQ(first.tooltip_width(), 320);
  EXPECT_TRUE(reader.received_frames().empty());  // opening talks to nobody

  dialog.SetIndividualCrAllowed(1);
  reader.state().cr_byte = 0x0A | 0x10;  // tracks 1 and 3, capital mode
  Show([](ControlStore& s) {
    EXPECT_EQ(EnabledOf(s, {ids::kCrTrack3, ids::kGetCr, ids::kSetCr}), "110");
    s.Click(ids::kGetCr);
    EXPECT_EQ(ChecksOf(s, {ids::kCrTrack1, ids::kCrTrack2, ids::kCrTrack3}), "101");
    s.Click(ids::kSetCr);
  });
  EXPECT_EQ(Sent("13").back(), ":02000011130AD0");  // no capital mode from this window
  EXPECT_EQ(dialog.remembered_cr_line(), "13:0A");
  EXPECT_EQ(ChecksOf(Show(), {ids::kCrTrack1, ids::kCrTrack2, ids::kCrTrack3}), "101");
}

TEST_F(EnhancedConfigWindowTest, WrapperBudgetsFollowTheDecodedTextsWhileTyping) {
  ControlStore& shown = Show([](ControlStore& s) {
    s.Click(ids::kHeadCheck);
    s.Type(ids::kHeadBox, "ABCD\\035EF");  // 10 typed, 7 decoded
    EXPECT_EQ(s.Limit(ids::kHeadBox) * 100 + s.Limit(ids::kTailBox), 1707u);
    s.Click(ids::kTailCheck);
    s.Type(ids::kTailBox, "0123456789");
    s.Type(ids::kHeadBox, "Z");  // no room left
    s.Click(ids::kHeadCheck);    // unchecked, the head keeps its text and its room
    EXPECT_EQ(s.Text(ids::kHeadBox) + "|" + s.Text(ids::kTailBox), "ABCD\\035EF|0123456");
    EXPECT_EQ(s.Limit(ids::kTailBox), 7u);
    s.Click(ids::kSetWrapper);
  });
  EXPECT_EQ(reader.state().head_wrapper + "|" + reader.state().tail_wrapper, "ABCD#EF|0123456");
  EXPECT_FALSE(shown.IsEnabled(ids::kSetWrapper));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EnhancedConfigWindowTest, WrappersReappearOnReopeningAndOverlongPairsAreNotSent) {
  Show([](ControlStore& s) {
    s.Click(ids::kTailCheck);
    s.Type(ids::kTailBox, "AB\\\\");  // A, B and one backslash
  });
  ControlStore& again = Show([](ControlStore& s) {
    EXPECT_EQ(s.Text(ids::kTailBox), "AB\\\\");
    EXPECT_EQ(ChecksOf(s, {ids::kTailCheck}) + EnabledOf(s, {ids::kTailBox, ids::kSetWrapper}),
              "110");
    EXPECT_EQ(s.Limit(ids::kHeadBox) * 100 + s.Limit(ids::kTailBox), 1115u);
    s.Type(ids::kTailBox, "CDEFGHIJKLM");  // now 14 decoded: the head has no room
    s.Click(ids::kHeadCheck);
    s.Type(ids::kHeadBox, "X");
    s.Click(ids::kSetWrapper);
    s.PressEnter();  // refused too: the window stays open
  });
  EXPECT_EQ(dialog.tail_text(), "AB\\CDEFGHIJKLM");
  EXPECT_EQ(Count("Please enter no more than 0 characters."), 3);
  EXPECT_TRUE(Sent("12").empty());
  EXPECT_EQ(again.focused(), ids::kHeadBox);
  EXPECT_EQ(again.result(), kIdCancel);  // the host's Escape closed it
  EXPECT_EQ(Show([](ControlStore& s) { s.PressEnter(); }).result(), kIdOk);
}

TEST_F(EnhancedConfigWindowTest, LanguagesWithoutAFrameSendNothingButAreRemembered) {
  Show([](ControlStore& s) {
    s.Choose(ids::kLanguageList, 7);  // Brazilian Portuguese
    s.Click(ids::kSetLanguage);
    EXPECT_FALSE(s.IsEnabled(ids::kSetLanguage));
  });
  EXPECT_TRUE(Sent("15").empty());
  EXPECT_EQ(Count(kFailed), 1);
  EXPECT_EQ(dialog.remembered_language_line(), "15:07");
  EXPECT_EQ(Show().Selected(ids::kLanguageList), 7);

  Show([](ControlStore& s) {
    s.Choose(ids::kLanguageList, 9);  // "Custom Table" is the reader's 0xFF
    s.Click(ids::kSetLanguage);
    s.Click(ids::kGetLanguage);  // a code without an entry leaves no selection
    EXPECT_EQ(s.Selected(ids::kLanguageList), -1);
  });
  EXPECT_EQ(Sent("15").back(), ":0200001115FFD9");
  EXPECT_EQ(reader.state().wedge_language, 0xFF);
  EXPECT_EQ(dialog.remembered_language_line(), "15:FF");
  EXPECT_EQ(Count(kFailed), 1);
}

TEST_F(EnhancedConfigWindowTest, CustomRowsAreSentInOrderOnlyFromTheOpeningThatFilledThem) {
  Show([this](ControlStore& s) {
    s.Choose(ids::kRowLists[0], 10);
    s.Type(ids::kRowBoxes[0], "q");
    s.Choose(ids::kRowLists[2], 11);
    s.Type(ids::kRowBoxes[2], "r");
    EXPECT_EQ(dialog.row_changed_mask(), 0x0A);
    s.Choose(ids::kRowLists[2], 0);  // None empties and disables its row
    EXPECT_EQ(s.Text(ids::kRowBoxes[2]) + EnabledOf(s, {ids::kRowBoxes[2], ids::kSetCustom}), "01");
    EXPECT_EQ(dialog.row_changed_mask(), 0x02);
    s.Choose(ids::kRowLists[0], 0);
    EXPECT_FALSE(s.IsEnabled(ids::kSetCustom));
    s.Choose(ids::kRowLists[6], 12);
    s.Type(ids::kRowBoxes[6], "s");
  });  // closed without Set: row 7 is dropped
  ControlStore& shown = Show([](ControlStore& s) {
    s.Choose(ids::kRowLists[4], 1);  // row 5: code 0x20
    s.Type(ids::kRowBoxes[4], "_");
    s.Choose(ids::kRowLists[1], 34);  // row 2: code 0x41
    s.Type(ids::kRowBoxes[1], "xy");  // one character only
    s.Click(ids::kSetCustom);
  });
  EXPECT_THAT(Sent("17"), ElementsAre(":0600001117412000785F9A"));
  EXPECT_EQ(std::string() + char(reader.state().custom_table[0x41]) +
                char(reader.state().custom_table[0x20]),
            "x_");
  EXPECT_EQ(dialog.row_changed_mask(), 0);
  for (int row = 0; row < 7; ++row) {
    EXPECT_EQ(shown.Selected(ids::kRowLists[row]), 0);
    EXPECT_EQ(shown.Text(ids::kRowBoxes[row]) + EnabledOf(shown, {ids::kRowBoxes[row]}), "0");
  }
  EXPECT_FALSE(shown.IsEnabled(ids::kSetCustom));
}

TEST_F(EnhancedConfigWindowTest, ResetAsksFirstThenResetsEveryCodeGoingOnPastFailures) {
  auto reset = [](ControlStore& s) { s.Click(ids::kResetCustom); };
  Show(reset);  // answered No
  EXPECT_THAT(messages.Texts(),
              ElementsAre("Confirm to reset the custom table back to original table?"));
  EXPECT_EQ(messages.shown[0].caption + std::to_string(messages.shown[0].type), "Warning!4");
  EXPECT_TRUE(reader.received_frames().empty());

  reader.state().custom_table[0x41] = 'z';
  reader.state().custom_table[0x61] = 'y';
  messages.answers = {answer::kYes};
  Show(reset);
  Frames resets = Sent("17");
  ASSERT_EQ(resets.size(), 64u);
  EXPECT_EQ(resets.front() + resets.back().substr(0, 17), ":040000111720002094:04000011175F005F");
  EXPECT_EQ(reader.state().custom_table[0x41], 0x41);
  EXPECT_EQ(reader.state().custom_table[0x61], 'y');  // outside the reset range
  EXPECT_EQ(Count(kFailed), 0);

  // Next time the reader falls silent after the claim and ten of the codes.
  const int seen = static_cast<int>(reader.received_frames().size());
  const int claim = seen - 64 - 1;  // all but the resets and the final restore
  reader.ClearLog();
  reader.faults().silent_after_frames = seen + claim + 10;
  messages.answers = {answer::kYes};
  Show(reset);
  EXPECT_EQ(Sent("17").size(), 64u);
  EXPECT_EQ(Count(kFailed), 54);
}

TEST_F(EnhancedConfigWindowTest, UnclaimedReaderDisablesOnlyTheSetButtons) {
  dialog.SetPortTexts({"COM4", "19200"});  // no such port
  dialog.SetIndividualCrAllowed(1);
  Show([](ControlStore& s) {
    s.Choose(ids::kLanguageList, 1);
    s.Click(ids::kSetLanguage);
    s.Click(ids::kGetCr);
    EXPECT_EQ(EnabledOf(s, {ids::kSetLanguage, ids::kSetCr, ids::kGetCr}), "001");
  });
  EXPECT_THAT(messages.Texts(), ElementsAre(kNotClaimed, kNotClaimed));
  EXPECT_EQ(messages.shown[0].caption, "Error!");
  EXPECT_EQ(clock.NowMs(), 2 * device::kClaimAttempts * device::kClaimPauseMs);
  EXPECT_EQ(dialog.remembered_language_line(), "");
}

// The main window opens it from its menu, telling it what its last Get or Set Config
// learnt about the reader's own carriage return.
TEST_F(EnhancedConfigWindowTest, MainWindowMenuOpensItWithWhatGetAndSetConfigLearnt) {
  dialog.AttachTo(window->hooks(), host);
  reader.state().active_option_byte = config::kCustomConfigurationBit;  // no carriage return
  store->Click(id::kGetConfig);
  host.Then([](ControlStore& s) {
    s.Click(ids::kCrTrack2);
    s.Click(ids::kSetCr);
  });
  store->ChooseMenuCommand(id::kEnhancedWindowCommand);
  EXPECT_EQ(dialog.port_texts().port + dialog.port_texts().baud, "COM319200");
  EXPECT_EQ(reader.state().cr_byte, config::kCrTrack2Bit);

  store->Click(id::kCarriageReturn);  // Set Config sends it on
  store->Click(id::kSetConfig);
  store->ChooseMenuCommand(id::kEnhancedWindowCommand);
  EXPECT_FALSE(host.last().IsEnabled(ids::kCrTrack2));
}

}  // namespace
}  // namespace pelgar::ui
