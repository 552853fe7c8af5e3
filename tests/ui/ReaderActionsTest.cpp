#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "MainWindowFixture.h"

namespace pelgar::ui {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kQuestion[] =
    "\"Use Custom Configuration\" is not selected.\n\nChanges to the MSR configuration will be "
    "stored to flash, but will not be used by the MSR until the custom configuration is "
    "enabled.\n\nDo you want to enable it now?";

class ReaderActions : public MainWindowFixture {
 protected:
  void UseReader(uint8_t option_byte, sim::SlideSwitch position,
                 std::array<uint8_t, 4> sentinels = {'%', ';', '+', '?'}) {
    reader.state().option_byte = reader.state().active_option_byte = option_byte;
    reader.state().sentinels = reader.state().active_sentinels = sentinels;
    reader.state().slide_switch = position;
  }
  std::string Sentinels() {
    return Text(id::kSentinel1) + "|" + Text(id::kSentinel2) + "|" + Text(id::kSentinel3) + "|" +
           Text(id::kEndSentinel);
  }
};

TEST_F(ReaderActions, GetConfigShowsTheRecordOfACustomConfiguredReader) {
  // 0xC5: carriage return, track 1 disabled, custom configuration, hide error tracks.
  UseReader(0xC5, sim::SlideSwitch::kWedge, {'A', 'B', 0, 'D'});
  reader.state().revision = "REV 2.31";
  store->Enable(id::kSetConfig, false);
  store->Click(id::kGetConfig);

  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_TRUE(store->IsChecked(id::kWedgeMode));
  EXPECT_FALSE(store->IsChecked(id::kSerialMode));
  EXPECT_TRUE(store->IsChecked(id::kCustomConfiguration));
  EXPECT_TRUE(store->IsChecked(id::kCarriageReturn));
  EXPECT_FALSE(store->IsChecked(id::kRawDataMode));
  EXPECT_FALSE(store->IsChecked(id::kTrack1));
  EXPECT_TRUE(store->IsChecked(id::kTrack2));
  EXPECT_TRUE(store->IsChecked(id::kHideErrorTracks));
  EXPECT_EQ(Sentinels(), "A|B||D");
  EXPECT_EQ(Text(id::kRevision), "REV 2.31");
  EXPECT_TRUE(store->IsEnabled(id::kTrack1));  // enable rule
  EXPECT_TRUE(store->IsEnabled(id::kSetConfig));
  EXPECT_TRUE(window->enhanced_capable());
  EXPECT_EQ(window->individual_cr_allowed(), 0);
  EXPECT_FALSE(sim_ports.is_open());
  EXPECT_EQ(sim_ports.baud(), 19200);
}

struct DefaultCase {
  sim::SlideSwitch position;
  bool wedge;
  bool serial;
  bool carriage_return;
};

class GetConfigDefault : public ReaderActions, public ::testing::WithParamInterface<DefaultCase> {};

// Without custom configuration the reader works in its default setting, whatever its
// record says; carriage return follows the wedge position.
TEST_P(GetConfigDefault, ShowsTheDefaultConfigurationForTheSwitchPosition) {
  const DefaultCase& c = GetParam();
  UseReader(0xBE, c.position, {'1', '2', '3', '4'});  // every option but custom, CR off
  store->Click(id::kGetConfig);
  EXPECT_EQ(store->IsChecked(id::kWedgeMode), c.wedge);
  EXPECT_EQ(store->IsChecked(id::kSerialMode), c.serial);
  EXPECT_EQ(store->IsChecked(id::kCarriageReturn), c.carriage_return);
  EXPECT_FALSE(store->IsChecked(id::kCustomConfiguration));
  EXPECT_FALSE(store->IsChecked(id::kRawDataMode) || store->IsChecked(id::kStripSentinels) ||
               store->IsChecked(id::kHideErrorTracks));
  EXPECT_TRUE(store->IsChecked(id::kTrack1) && store->IsChecked(id::kTrack3));
  EXPECT_EQ(Sentinels(), "%|;|+|?");
  EXPECT_FALSE(store->IsEnabled(id::kTrack1));
  // From the reader's stored option, not from what is shown.
  EXPECT_EQ(window->individual_cr_allowed(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    SwitchPositions, GetConfigDefault,
    ::testing::Values(DefaultCase{sim::SlideSwitch::kWedge, true, false, true},
                      DefaultCase{sim::SlideSwitch::kSerial, false, true, false},
                      DefaultCase{sim::SlideSwitch::kNone, false, false, false}));

TEST_F(ReaderActions, EnhancedCapableFlagIsRaisedByARecentRevisionAndNeverLowered) {
  reader.state().revision = "REV 10.0";  // sorts below "REV 2.30"
  store->Click(id::kGetConfig);
  EXPECT_FALSE(window->enhanced_capable());
  reader.state().revision = "REV 2.30";
  store->Click(id::kGetConfig);
  EXPECT_TRUE(window->enhanced_capable());
  reader.state().revision = "REV 2.29";
  store->Click(id::kGetConfig);
  EXPECT_TRUE(window->enhanced_capable());
  EXPECT_EQ(Text(id::kRevision), "REV 2.29");
}

TEST_F(ReaderActions, SetConfigSendsTheShownRecordAndCommitsIt) {
  store->Click(id::kCustomConfiguration);
  reader.ClearLog();
  store->Click(id::kSetConfig);
  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_THAT(ActionFrames(), ElementsAre(":060000110140253b2b3fde", ":0100001109E5"));
  EXPECT_EQ(reader.state().option_byte, 0x40);
  EXPECT_EQ(window->individual_cr_allowed(), 1);
  EXPECT_TRUE(store->IsEnabled(id::kSetConfig) && store->IsEnabled(id::kGetConfig));
}

TEST_F(ReaderActions, SetConfigAsksToEnableCustomConfigurationAndYesSwitchesItOn) {
  messages.answers = {answer::kYes};
  bool buttons_enabled_while_asking = true;
  messages.on_show = [&](const testing::ScriptedMessageOutput::Shown&) {
    buttons_enabled_while_asking =
        store->IsEnabled(id::kSetConfig) || store->IsEnabled(id::kGetConfig);
  };
  reader.ClearLog();
  store->Click(id::kSetConfig);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kQuestion);
  EXPECT_EQ(messages.shown[0].caption, "Enable Custom Configuration?");
  EXPECT_EQ(messages.shown[0].type, box::kYesNo | box::kIconInformation);
  EXPECT_FALSE(buttons_enabled_while_asking);
  EXPECT_THAT(ActionFrames(), ElementsAre(":060000110140253b2b3fde", ":0100001109E5"));
  EXPECT_TRUE(store->IsChecked(id::kCustomConfiguration));
  EXPECT_FALSE(store->IsEnabled(id::kTrack1));  // the enable rule waits for the next action
}

TEST_F(ReaderActions, SetConfigAnsweredNoSendsWithoutCustomConfigurationAndStillCommits) {
  store->SetCheck(id::kWedgeMode, true);
  store->SetCheck(id::kCarriageReturn, true);
  store->SetText(id::kSentinel3, "");  // an empty sentinel goes out as 0
  reader.ClearLog();
  store->Click(id::kSetConfig);
  // Option byte 0x01 (carriage return only), sentinels 25 3b 00 3f.
  EXPECT_THAT(ActionFrames(), ElementsAre(":060000110101253b003f48", ":0100001109E5"));
  EXPECT_FALSE(store->IsChecked(id::kCustomConfiguration));
  EXPECT_EQ(window->individual_cr_allowed(), 0);
}

TEST_F(ReaderActions, TemporaryMemoryUsesStoreModeZeroAndCommitsToo) {
  store->Click(id::kCustomConfiguration);
  reader.ClearLog();
  window->OnControl(id::kSetConfigTemporary, Notification::kClicked);
  EXPECT_THAT(ActionFrames(), ElementsAre(":060000110040253b2b3fdf", ":0100001109E5"));
}

TEST_F(ReaderActions, FailedClaimTriesTenTimesReportsAndReenablesTheButtons) {
  sim_ports.present_ports.clear();
  bool buttons_enabled_at_message = true;
  messages.on_show = [&](const testing::ScriptedMessageOutput::Shown&) {
    buttons_enabled_at_message = store->IsEnabled(id::kSetConfig);
  };
  store->Click(id::kSetConfig);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kNotClaimed);
  EXPECT_EQ(messages.shown[0].caption, "Error!");
  EXPECT_EQ(messages.shown[0].type, box::kOk);
  EXPECT_FALSE(buttons_enabled_at_message);
  EXPECT_TRUE(store->IsEnabled(id::kSetConfig) && store->IsEnabled(id::kGetConfig));
  EXPECT_GE(clock.NowMs(), 10 * 500);
  EXPECT_EQ(sim_ports.open_count(), 0);

  messages.shown.clear();
  store->Click(id::kGetConfig);
  EXPECT_THAT(messages.Texts(), ElementsAre(kNotClaimed));
  EXPECT_EQ(Text(id::kRevision), "");
  EXPECT_TRUE(store->IsChecked(id::kSerialMode));
}

TEST_F(ReaderActions, RefusedSetAndCommitEachShowTheirMessage) {
  store->Click(id::kCustomConfiguration);
  reader.faults().silent_after_frames = 3;  // answers only the claim
  store->Click(id::kSetConfig);
  EXPECT_THAT(messages.Texts(),
              ElementsAre("Error occurred while applying changes to the MSR configuration.",
                          "Error occurred while committing changes to the MSR configuration."));
  EXPECT_EQ(messages.shown[0].caption, "");
  EXPECT_EQ(messages.shown[1].type, box::kOk);
  EXPECT_TRUE(store->IsEnabled(id::kSetConfig) && store->IsEnabled(id::kGetConfig));
}

TEST_F(ReaderActions, FirstPortEntryHandsItsTrailingBlankToTheSession) {
  sim_ports.present_ports = {"COM1"};
  store->Choose(id::kPortList, 0);
  store->Click(id::kGetConfig);
  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_THAT(ports.opened_names, ElementsAre("COM1 "));
}

TEST_F(ReaderActions, UnattendedActionsUseTheCommandLinePortAndAskNothingOfTheButtons) {
  sim_ports.present_ports = {"COM5"};
  Open({true, "COM5", "19200"});
  window->GetConfig();
  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_EQ(Text(id::kRevision), "REV 2.30");
  store->Enable(id::kSetConfig, true);
  bool set_enabled_while_asking = false;
  messages.on_show = [&](const testing::ScriptedMessageOutput::Shown&) {
    set_enabled_while_asking = store->IsEnabled(id::kSetConfig);
  };
  window->SetConfig();
  EXPECT_TRUE(set_enabled_while_asking);
}

}  // namespace
}  // namespace pelgar::ui
