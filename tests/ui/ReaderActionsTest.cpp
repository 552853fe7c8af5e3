#include <tuple>

#include "MainWindowFixture.h"

namespace pelgar::ui {
namespace {

const std::string kQuestion =
    "Enable Custom Configuration?/44: \"Use Custom Configuration\" is not selected.\n\nChanges "
    "to the MSR configuration will be stored to flash, but will not be used by the MSR until "
    "the custom configuration is enabled.\n\nDo you want to enable it now?";
constexpr char kCommit[] = ":0100001109E5";
constexpr Ids kShown = {id::kWedgeMode,      id::kSerialMode,  id::kCustomConfiguration,
                        id::kCarriageReturn, id::kRawDataMode, id::kTrack1,
                        id::kTrack2,         id::kTrack3,      id::kStripSentinels,
                        id::kHideErrorTracks};

class ReaderActions : public MainWindowFixture {
 protected:
  ReaderActions() {
    messages.on_show = [this] { while_shown += Enabled({id::kSetConfig, id::kGetConfig}); };
  }
  std::string while_shown;  // Set Config's and Get Config's enabled states
};

// Without custom configuration the reader works in its default (carriage return in the wedge
// position); the enhanced-capable flag compares revisions as text and is never lowered. 0xBE:
// all options but custom configuration and CR; 0xC5: CR, custom, hide error tracks, no track 1.
TEST_F(ReaderActions, GetConfigShowsTheRecordOrTheDefaultForTheSwitchPosition) {
  const std::tuple<sim::SlideSwitch, uint8_t, const char*, const char*> cases[] = {
      {sim::SlideSwitch::kWedge, 0xBE, "REV 10.0", "1001011100%|;|+|? 0111 10"},
      {sim::SlideSwitch::kSerial, 0xBE, "REV 2.30", "0100011100%|;|+|? 0111 11"},
      {sim::SlideSwitch::kWedge, 0xC5, "REV 2.29", "1011001101A|B||D 1111 01"},
  };
  for (const auto& [position, option_byte, revision, shown] : cases) {
    SCOPED_TRACE(revision);
    auto& state = reader.state();
    state.option_byte = state.active_option_byte = option_byte;
    state.sentinels = state.active_sentinels = {'A', 'B', 0, 'D'};
    state.slide_switch = position;
    state.revision = revision;
    store->SetCheck(id::kCarriageReturn, true);
    store->Enable(id::kSetConfig, false);
    store->Click(id::kGetConfig);
    EXPECT_EQ(Checks(kShown) + Sentinels() +
                  Enabled({kGap, id::kTrack1, id::kSetConfig, id::kGetConfig, id::kSaveSettings}) +
                  " " + std::to_string(window->individual_cr_allowed()) +
                  std::to_string(window->enhanced_capable()) + " " + Text(id::kRevision),
              shown + std::string(" ") + revision);
  }
  EXPECT_EQ(messages.shown, Lines{});
  EXPECT_EQ(std::to_string(sim_ports.baud()) + (sim_ports.is_open() ? " open" : ""), "19200");
}

TEST_F(ReaderActions, SetConfigAsksToEnableCustomConfigurationThenSendsAndCommits) {
  // No: option byte 0x01 (carriage return only); an empty sentinel goes out as 0.
  store->SetCheck(id::kCarriageReturn, true);
  store->SetText(id::kSentinel3, "");
  store->Click(id::kSetConfig);
  EXPECT_THAT(ActionFrames(), ElementsAre(":060000110101253b003f48", kCommit));
  // Yes: switched on, but the enable rule waits for the next action.
  store->SetCheck(id::kCarriageReturn, false);
  store->SetText(id::kSentinel3, "+");
  messages.answers = {answer::kYes};
  store->Click(id::kSetConfig);
  EXPECT_EQ(Checks({id::kCustomConfiguration}) + Enabled({id::kTrack1}) +
                std::to_string(window->individual_cr_allowed()),
            "101");
  // Now nothing is asked. The hidden button stores to temporary memory (mode 0).
  store->Click(id::kSetConfig);
  window->OnControl(id::kSetConfigTemporary, Notification::kClicked);
  EXPECT_THAT(ActionFrames(),
              ElementsAre(":060000110140253b2b3fde", kCommit, ":060000110140253b2b3fde", kCommit,
                          ":060000110040253b2b3fdf", kCommit));
  EXPECT_THAT(messages.shown, ElementsAre(kQuestion, kQuestion));
  EXPECT_EQ(while_shown + Enabled({id::kSetConfig, id::kGetConfig}), "000011");
}

TEST_F(ReaderActions, FailuresShowTheirMessagesAndReenableTheButtons) {
  sim_ports.present_ports.clear();
  Click({id::kSetConfig, id::kGetConfig});
  EXPECT_EQ(
      Text(id::kRevision) + Checks({id::kSerialMode}) + std::to_string(sim_ports.open_count()),
      "10");
  sim_ports.present_ports = {"COM3"};
  reader.faults().silent_after_frames = 3;  // answers only the claim
  Click({id::kCustomConfiguration, id::kSetConfig});
  EXPECT_THAT(messages.shown,
              ElementsAre(NotClaimed("COM3: no such device; tried 10 times"),
                          NotClaimed("COM3: no such device; tried 10 times"),
                          "/00: Error occurred while applying changes to the MSR configuration.",
                          "/00: Error occurred while committing changes to the MSR "
                          "configuration."));
  // Set Config disables both buttons while it runs, Get Config does not.
  EXPECT_EQ(while_shown + Enabled({id::kSetConfig, id::kGetConfig}), "0011000011");
}

TEST_F(ReaderActions, ClaimsWithTheChosenPortTextOrTheCommandLines) {
  sim_ports.present_ports = {"COM1", "COM5"};
  store->Choose(id::kPortList, 0);  // "COM1 " hands its trailing blank to the session
  store->Click(id::kGetConfig);
  Open({true, "COM5", "19200"});
  window->GetConfig();
  EXPECT_EQ(messages.shown, Lines{});
  EXPECT_THAT(ports.opened_names, ElementsAre("COM1 ", "COM5"));
}

}  // namespace
}  // namespace pelgar::ui
