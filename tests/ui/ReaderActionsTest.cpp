#include "MainWindowFixture.h"

namespace pelgar::ui {
namespace {

constexpr char kQuestion[] =
    "\"Use Custom Configuration\" is not selected.\n\nChanges to the MSR configuration will be "
    "stored to flash, but will not be used by the MSR until the custom configuration is "
    "enabled.\n\nDo you want to enable it now?";
constexpr char kCommit[] = ":0100001109E5";
// Wedge, serial, custom configuration, then the options 1002, 1001, 1003 to 1006, 1008.
constexpr std::initializer_list<int> kShown = {1065, 1066, 1007, 1002, 1001,
                                               1003, 1004, 1005, 1006, 1008};

class ReaderActions : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    messages.on_show = [this](const auto&) {
      buttons_while_shown += Enabled({id::kSetConfig, id::kGetConfig});
    };
  }
  void UseReader(uint8_t option_byte, sim::SlideSwitch position, std::array<uint8_t, 4> sentinels) {
    reader.state().option_byte = reader.state().active_option_byte = option_byte;
    reader.state().sentinels = reader.state().active_sentinels = sentinels;
    reader.state().slide_switch = position;
  }

  std::string buttons_while_shown;  // Set Config and Get Config, while a message is up
};

// Without custom configuration the reader works in its default setting, whatever its record
// says, with carriage return in the wedge position. The enhanced-capable flag compares the
// revision as text and is never lowered.
TEST_F(ReaderActions, GetConfigShowsTheRecordOrTheDefaultForTheSwitchPosition) {
  const struct {
    sim::SlideSwitch position;
    uint8_t option_byte;
    const char* revision;
    const char* shown;
    int cr_allowed;
    bool capable;
  } cases[] = {
      // 0xBE: every option but custom configuration, carriage return off.
      {sim::SlideSwitch::kWedge, 0xBE, "REV 10.0", "1001011100%|;|+|?", 1, false},
      {sim::SlideSwitch::kSerial, 0xBE, "REV 2.30", "0100011100%|;|+|?", 1, true},
      {sim::SlideSwitch::kNone, 0xBE, "REV 2.29", "0000011100%|;|+|?", 1, true},
      // 0xC5: carriage return, track 1 off, custom configuration, hide error tracks.
      {sim::SlideSwitch::kWedge, 0xC5, "REV 2.31", "1011001101A|B||D", 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.revision);
    UseReader(c.option_byte, c.position, {'A', 'B', 0, 'D'});
    reader.state().revision = c.revision;
    store->SetCheck(id::kCarriageReturn, true);
    store->Enable(id::kSetConfig, false);
    store->Click(id::kGetConfig);
    EXPECT_EQ(Checks(kShown) + Sentinels(), c.shown);
    EXPECT_EQ(Text(id::kRevision), c.revision);
    EXPECT_EQ(Enabled({id::kTrack1, id::kSetConfig, id::kGetConfig, id::kSaveSettings}),
              (c.shown[2] == '1' ? "1" : "0") + std::string("111"));
    EXPECT_EQ(window->individual_cr_allowed(), c.cr_allowed);  // from the reader's record
    EXPECT_EQ(window->enhanced_capable(), c.capable);
  }
  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_EQ(sim_ports.baud(), 19200);
  EXPECT_FALSE(sim_ports.is_open());
}

TEST_F(ReaderActions, SetConfigAsksToEnableCustomConfigurationThenSendsAndCommits) {
  // No: option byte 0x01 (carriage return only); an empty sentinel goes out as 0.
  store->SetCheck(id::kCarriageReturn, true);
  store->SetText(id::kSentinel3, "");
  store->Click(id::kSetConfig);
  EXPECT_THAT(ActionFrames(), ElementsAre(":060000110101253b003f48", kCommit));
  EXPECT_EQ(window->individual_cr_allowed(), 0);
  // Yes: switched on, but the enable rule waits for the next action.
  store->SetCheck(id::kCarriageReturn, false);
  store->SetText(id::kSentinel3, "+");
  messages.answers = {answer::kYes};
  store->Click(id::kSetConfig);
  EXPECT_EQ(Checks({id::kCustomConfiguration}) + Enabled({id::kTrack1}), "10");
  EXPECT_EQ(window->individual_cr_allowed(), 1);
  // Now nothing is asked. The hidden button stores to temporary memory (mode 0).
  store->Click(id::kSetConfig);
  window->OnControl(id::kSetConfigTemporary, Notification::kClicked);
  EXPECT_THAT(ActionFrames(),
              ElementsAre(":060000110140253b2b3fde", kCommit, ":060000110140253b2b3fde", kCommit,
                          ":060000110040253b2b3fdf", kCommit));
  ASSERT_EQ(messages.shown.size(), 2u);
  for (const auto& shown : messages.shown) {
    EXPECT_EQ(shown.text, kQuestion);
    EXPECT_EQ(shown.caption, "Enable Custom Configuration?");
    EXPECT_EQ(shown.type, box::kYesNo | box::kIconInformation);
  }
  EXPECT_EQ(buttons_while_shown + Enabled({id::kSetConfig, id::kGetConfig}), "000011");
}

TEST_F(ReaderActions, FailuresShowTheirMessagesAndReenableTheButtons) {
  sim_ports.present_ports.clear();
  store->Click(id::kSetConfig);
  store->Click(id::kGetConfig);
  EXPECT_THAT(messages.Texts(), ElementsAre(kNotClaimed, kNotClaimed));
  EXPECT_EQ(messages.shown[0].caption, "Error!");
  EXPECT_EQ(messages.shown[0].type, box::kOk);
  EXPECT_GE(clock.NowMs(), 2 * 10 * 500);  // ten attempts each
  EXPECT_EQ(sim_ports.open_count(), 0);
  EXPECT_EQ(Text(id::kRevision) + Checks({id::kSerialMode}), "1");

  messages.shown.clear();
  sim_ports.present_ports = {"COM3"};
  reader.faults().silent_after_frames = 3;  // answers only the claim
  store->Click(id::kCustomConfiguration);
  store->Click(id::kSetConfig);
  EXPECT_THAT(messages.Texts(),
              ElementsAre("Error occurred while applying changes to the MSR configuration.",
                          "Error occurred while committing changes to the MSR configuration."));
  EXPECT_EQ(messages.shown[1].caption, "");
  EXPECT_EQ(messages.shown[1].type, box::kOk);
  // Set Config disables both buttons while it runs, Get Config does not.
  EXPECT_EQ(buttons_while_shown + Enabled({id::kSetConfig, id::kGetConfig}), "0011000011");
}

TEST_F(ReaderActions, ClaimsWithTheChosenPortTextOrTheCommandLines) {
  sim_ports.present_ports = {"COM1", "COM5"};
  store->Choose(id::kPortList, 0);  // "COM1 " hands its trailing blank to the session
  store->Click(id::kGetConfig);
  Open({true, "COM5", "19200"});
  window->GetConfig();
  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_THAT(ports.opened_names, ElementsAre("COM1 ", "COM5"));
}

}  // namespace
}  // namespace pelgar::ui
