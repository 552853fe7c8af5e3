// The enhanced configuration window driven through its template, a scripted user and the
// in-process simulated reader on virtual time.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ScriptedDialogHost.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/ScriptedMessageOutput.h"
#include "ui/EnhancedConfigTemplate.h"
#include "ui/EnhancedConfigWindow.h"

namespace pelgar::ui {
namespace {

namespace ids = enhanced_ids;

constexpr std::string_view kOperationFailed =
    "Error occurred while applying changes to the MSR enhanced configuration.";

int Count(const testing::ScriptedMessageOutput& messages, std::string_view text) {
  int n = 0;
  for (const auto& shown : messages.shown) n += shown.text == text ? 1 : 0;
  return n;
}

class EnhancedConfigWindowTest : public ::testing::Test {
 protected:
  EnhancedConfigWindowTest() { window.SetPortTexts({"COM3", "19200"}); }

  ControlStore& Open(ScriptedDialogHost::Script script = {}) {
    host.Then(script ? std::move(script) : [](ControlStore&) {});
    window.Open(host);
    return host.last();
  }
  // Frames of one reader command, by the command byte after "0000" and "11".
  std::vector<std::string> Frames(std::string_view command) const {
    std::vector<std::string> found;
    for (const std::string& frame : reader.received_frames()) {
      if (frame.size() > 9 && frame.substr(3, 6) == "000011" && frame.substr(9, 2) == command) {
        found.push_back(frame);
      }
    }
    return found;
  }

  sim::SimulatedReader reader;
  platform::VirtualClock clock;
  sim::InProcessPortFactory ports{reader, clock};
  std::ostringstream out;
  std::ostringstream err;
  device::DeviceEnvironment env{ports, clock, out, err};
  testing::ScriptedMessageOutput messages;
  EnhancedConfigWindow window{env, messages};
  ScriptedDialogHost host;
};

TEST(EnhancedConfigTemplate, CharacterListLabelsNameCodeAndDefaultOutput) {
  const std::vector<std::string>& labels = CharacterListLabels();
  ASSERT_EQ(labels.size(), 96u);
  EXPECT_EQ(labels[0], " - None -");
  EXPECT_EQ(labels[1], "MSRT1(20) = ' '");
  EXPECT_EQ(labels[2], "MSRT1(21) = null");
  EXPECT_EQ(labels[4], "MSRT1(23) = ?");
  EXPECT_EQ(labels[34], "MSRT1(41) = A");
  EXPECT_EQ(labels[65], "MSRTx(60) = `");
  EXPECT_EQ(labels[95], "MSRTx(7E) = ~");
  EXPECT_EQ(EnhancedConfigTemplate().Find(ids::kRowLists[6])->items, labels);
}

TEST_F(EnhancedConfigWindowTest, OpensWithCarriageReturnsOfferedOnlyWhenTheRecordHadThemOff) {
  ControlStore& first = Open();
  // Unknown until the main window has read or written the configuration record.
  EXPECT_FALSE(first.IsEnabled(ids::kCrTrack1));
  EXPECT_FALSE(first.IsEnabled(ids::kGetCr));
  EXPECT_FALSE(first.IsEnabled(ids::kSetCustom));
  EXPECT_FALSE(first.IsEnabled(ids::kRowBoxes[6]));
  EXPECT_EQ(first.Selected(ids::kLanguageList), 0);
  EXPECT_EQ(first.Limit(ids::kHeadBox), 14u);
  EXPECT_EQ(first.tooltip_width(), 320);

  window.SetIndividualCrAllowed(1);
  ControlStore& second = Open();
  EXPECT_TRUE(second.IsEnabled(ids::kCrTrack3));
  EXPECT_TRUE(second.IsEnabled(ids::kGetCr));
  EXPECT_FALSE(second.IsEnabled(ids::kSetCr));
  EXPECT_TRUE(reader.received_frames().empty());  // opening talks to nobody
}

TEST_F(EnhancedConfigWindowTest, WrapperBudgetsFollowTheDecodedTextsWhileTyping) {
  ControlStore& store = Open([](ControlStore& s) {
    s.Click(ids::kHeadCheck);
    s.Type(ids::kHeadBox, "ABCD\\035EF");  // 10 typed, 7 decoded
    EXPECT_EQ(s.Limit(ids::kHeadBox), 17u);
    EXPECT_EQ(s.Limit(ids::kTailBox), 7u);
    s.Click(ids::kTailCheck);
    s.Type(ids::kTailBox, "0123456789");
    EXPECT_EQ(s.Text(ids::kTailBox), "0123456");
    s.Type(ids::kHeadBox, "Z");  // no room left
    EXPECT_EQ(s.Text(ids::kHeadBox), "ABCD\\035EF");
    EXPECT_TRUE(s.IsEnabled(ids::kSetWrapper));
    s.Click(ids::kSetWrapper);
  });
  EXPECT_EQ(reader.state().head_wrapper, "ABCD#EF");
  EXPECT_EQ(reader.state().tail_wrapper, "0123456");
  EXPECT_FALSE(store.IsEnabled(ids::kSetWrapper));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(EnhancedConfigWindowTest, UncheckedHeadWrapperIsStillSentAndStillCounts) {
  Open([](ControlStore& s) {
    s.Click(ids::kHeadCheck);
    s.Type(ids::kHeadBox, "ABCDEFGHIJ");
    s.Click(ids::kHeadCheck);
    EXPECT_FALSE(s.IsEnabled(ids::kHeadBox));
    EXPECT_EQ(s.Text(ids::kHeadBox), "ABCDEFGHIJ");
    // The tail keeps the room the head leaves, not the whole 14.
    s.Click(ids::kTailCheck);
    s.Type(ids::kTailBox, "123456");
    s.Click(ids::kSetWrapper);
  });
  EXPECT_EQ(reader.state().head_wrapper, "ABCDEFGHIJ");
  EXPECT_EQ(reader.state().tail_wrapper, "1234");
}

TEST_F(EnhancedConfigWindowTest, WrappersReappearOnReopeningAndOverlongPairsAreNotSent) {
  Open([](ControlStore& s) {
    s.Click(ids::kTailCheck);
    s.Type(ids::kTailBox, "AB\\\\");  // A, B and one backslash
  });
  ControlStore& again = Open([](ControlStore& s) {
    EXPECT_EQ(s.Text(ids::kTailBox), "AB\\\\");
    EXPECT_TRUE(s.IsChecked(ids::kTailCheck));
    EXPECT_TRUE(s.IsEnabled(ids::kTailBox));
    EXPECT_FALSE(s.IsEnabled(ids::kSetWrapper));
    EXPECT_EQ(s.Limit(ids::kHeadBox), 11u);
    EXPECT_EQ(s.Limit(ids::kTailBox), 15u);
    s.Type(ids::kTailBox, "CDEFGHIJKLM");  // now 14 decoded: the head has no room
    s.Click(ids::kHeadCheck);
    s.Type(ids::kHeadBox, "X");
    s.Click(ids::kSetWrapper);
  });
  EXPECT_EQ(window.tail_text(), "AB\\CDEFGHIJKLM");
  EXPECT_EQ(Count(messages, "Please enter no more than 0 characters."), 2);
  EXPECT_TRUE(Frames("12").empty());
  EXPECT_EQ(again.focused(), ids::kHeadBox);
}

TEST_F(EnhancedConfigWindowTest, RefusedEscapeKeepsTheWindowOpenOnEnter) {
  ControlStore& store = Open([](ControlStore& s) {
    s.Click(ids::kHeadCheck);
    s.Type(ids::kHeadBox, "A\\1\\");
    s.PressEnter();
  });
  EXPECT_EQ(store.result(), kIdCancel);  // Enter did not close it; the host's Escape did
  EXPECT_EQ(store.focused(), ids::kHeadBox);
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_EQ(messages.shown.back().text.rfind("Please make sure the input of NON-TEXT", 0), 0u);
  EXPECT_EQ(Open([](ControlStore& s) { s.PressEnter(); }).result(), kIdOk);
}

TEST_F(EnhancedConfigWindowTest, LanguagesWithoutAFrameSendNothingButAreRemembered) {
  Open([](ControlStore& s) {
    s.Choose(ids::kLanguageList, 7);  // Brazilian Portuguese
    EXPECT_TRUE(s.IsEnabled(ids::kSetLanguage));
    s.Click(ids::kSetLanguage);
    EXPECT_FALSE(s.IsEnabled(ids::kSetLanguage));
  });
  EXPECT_TRUE(Frames("15").empty());
  EXPECT_EQ(Count(messages, kOperationFailed), 1);
  EXPECT_EQ(reader.state().wedge_language, 0x01);
  EXPECT_EQ(window.remembered_language_line(), "15:07");
  EXPECT_EQ(Open().Selected(ids::kLanguageList), 7);

  Open([](ControlStore& s) {
    s.Choose(ids::kLanguageList, 9);  // "Custom Table" is the reader's 0xFF
    s.Click(ids::kSetLanguage);
    // A code without an entry, 0xFF among them, leaves no selection.
    s.Click(ids::kGetLanguage);
    EXPECT_EQ(s.Selected(ids::kLanguageList), -1);
  });
  EXPECT_EQ(Frames("15").back(), ":0200001115FFD9");
  EXPECT_EQ(reader.state().wedge_language, 0xFF);
  EXPECT_EQ(window.remembered_language_line(), "15:FF");
  EXPECT_EQ(Count(messages, kOperationFailed), 1);
}

TEST_F(EnhancedConfigWindowTest, CarriageReturnsSetFromThisWindowAreShownOnReopening) {
  window.SetIndividualCrAllowed(1);
  reader.state().cr_byte = 0x0A | 0x10;  // tracks 1 and 3, capital mode
  Open([](ControlStore& s) {
    s.Click(ids::kGetCr);
    EXPECT_TRUE(s.IsChecked(ids::kCrTrack1));
    EXPECT_FALSE(s.IsChecked(ids::kCrTrack2));
    EXPECT_TRUE(s.IsChecked(ids::kCrTrack3));
    EXPECT_TRUE(s.IsEnabled(ids::kSetCr));
    s.Click(ids::kSetCr);
  });
  EXPECT_EQ(Frames("13").back(), ":02000011130AD0");
  EXPECT_EQ(reader.state().cr_byte, 0x0A);  // no capital mode from this window
  EXPECT_EQ(window.remembered_cr_line(), "13:0A");
  ControlStore& again = Open();
  EXPECT_TRUE(again.IsChecked(ids::kCrTrack1));
  EXPECT_FALSE(again.IsChecked(ids::kCrTrack2));
  EXPECT_TRUE(again.IsChecked(ids::kCrTrack3));
}

TEST_F(EnhancedConfigWindowTest, SetSendsFilledRowsInOrderAndClearsThem) {
  ControlStore& store = Open([](ControlStore& s) {
    s.Choose(ids::kRowLists[4], 1);  // row 5: code 0x20
    s.Type(ids::kRowBoxes[4], "_");
    s.Choose(ids::kRowLists[1], 34);  // row 2: code 0x41
    s.Type(ids::kRowBoxes[1], "xy");  // one character only
    EXPECT_TRUE(s.IsEnabled(ids::kSetCustom));
    s.Click(ids::kSetCustom);
  });
  EXPECT_EQ(Frames("17"), std::vector<std::string>{":0600001117412000785F9A"});
  EXPECT_EQ(reader.state().custom_table[0x41], 'x');
  EXPECT_EQ(reader.state().custom_table[0x20], '_');
  EXPECT_EQ(window.row_changed_mask(), 0);
  EXPECT_FALSE(store.IsEnabled(ids::kSetCustom));
  for (int row = 0; row < 7; ++row) {
    EXPECT_EQ(store.Selected(ids::kRowLists[row]), 0);
    EXPECT_EQ(store.Text(ids::kRowBoxes[row]), "");
    EXPECT_FALSE(store.IsEnabled(ids::kRowBoxes[row]));
  }
}

TEST_F(EnhancedConfigWindowTest, NoneEmptiesItsRowAndUnfilledRowsDoNotOutliveTheWindow) {
  Open([this](ControlStore& s) {
    s.Choose(ids::kRowLists[0], 10);
    s.Type(ids::kRowBoxes[0], "q");
    s.Choose(ids::kRowLists[2], 11);
    s.Type(ids::kRowBoxes[2], "r");
    EXPECT_EQ(window.row_changed_mask(), 0x0A);
    s.Choose(ids::kRowLists[2], 0);
    EXPECT_EQ(s.Text(ids::kRowBoxes[2]), "");
    EXPECT_FALSE(s.IsEnabled(ids::kRowBoxes[2]));
    EXPECT_EQ(window.row_changed_mask(), 0x02);
    EXPECT_TRUE(s.IsEnabled(ids::kSetCustom));
    s.Choose(ids::kRowLists[0], 0);
    EXPECT_FALSE(s.IsEnabled(ids::kSetCustom));
    s.Choose(ids::kRowLists[6], 12);
    s.Type(ids::kRowBoxes[6], "s");
  });  // closed without Set
  Open([this](ControlStore& s) {
    EXPECT_EQ(window.row_changed_mask(), 0);
    EXPECT_EQ(s.Text(ids::kRowBoxes[6]), "");
    s.Choose(ids::kRowLists[3], 13);  // code 0x2C
    s.Type(ids::kRowBoxes[3], "t");
    s.Click(ids::kSetCustom);
  });
  EXPECT_EQ(Frames("17"), std::vector<std::string>{":04000011172C007434"});
}

TEST_F(EnhancedConfigWindowTest, ResetAsksFirstThenResetsEveryTrackOneAndThreeCode) {
  Open([](ControlStore& s) { s.Click(ids::kResetCustom); });  // answered No
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Confirm to reset the custom table back to original table?");
  EXPECT_EQ(messages.shown[0].caption, "Warning!");
  EXPECT_EQ(messages.shown[0].type, box::kYesNo);
  EXPECT_TRUE(reader.received_frames().empty());

  reader.state().custom_table[0x41] = 'z';
  reader.state().custom_table[0x61] = 'y';
  messages.answers = {answer::kYes};
  Open([](ControlStore& s) { s.Click(ids::kResetCustom); });
  std::vector<std::string> resets = Frames("17");
  ASSERT_EQ(resets.size(), 64u);
  EXPECT_EQ(resets.front(), ":040000111720002094");
  EXPECT_EQ(resets.back().substr(0, 17), ":04000011175F005F");
  EXPECT_EQ(reader.state().custom_table[0x41], 0x41);
  EXPECT_EQ(reader.state().custom_table[0x61], 'y');  // outside the reset range
  EXPECT_EQ(Count(messages, kOperationFailed), 0);
}

TEST_F(EnhancedConfigWindowTest, ResetGoesOnPastFailedCodesAndReportsEachOne) {
  // Claim once to learn how many frames a claim takes.
  Open([](ControlStore& s) { s.Click(ids::kGetLanguage); });
  const int frames_per_get = static_cast<int>(reader.received_frames().size());  // claim, get, end
  reader.faults().silent_after_frames = frames_per_get + (frames_per_get - 2) + 10;
  messages.answers = {answer::kYes};
  Open([](ControlStore& s) { s.Click(ids::kResetCustom); });
  EXPECT_EQ(Frames("17").size(), 64u);
  EXPECT_EQ(Count(messages, kOperationFailed), 54);
}

TEST_F(EnhancedConfigWindowTest, UnclaimedReaderDisablesOnlyTheSetButtons) {
  window.SetPortTexts({"COM4", "19200"});  // no such port
  window.SetIndividualCrAllowed(1);
  Open([](ControlStore& s) {
    s.Choose(ids::kLanguageList, 1);
    s.Click(ids::kSetLanguage);
    EXPECT_FALSE(s.IsEnabled(ids::kSetLanguage));
    s.Click(ids::kGetCr);
    EXPECT_TRUE(s.IsEnabled(ids::kGetCr));
    EXPECT_FALSE(s.IsEnabled(ids::kSetCr));
  });
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].caption, "Error!");
  EXPECT_EQ(messages.shown[0].text.rfind("The MSR has not been claimed by the application.  ", 0),
            0u);
  EXPECT_EQ(clock.NowMs(), 2 * device::kClaimAttempts * device::kClaimPauseMs);
  EXPECT_EQ(window.remembered_language_line(), "");
}

}  // namespace
}  // namespace pelgar::ui
