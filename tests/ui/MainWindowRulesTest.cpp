#include "MainWindowFixture.h"
#include "ui/AboutBox.h"

namespace pelgar::ui {
namespace {

// The options 1001 to 1006 and 1008 and the sentinel edits: what the enable rule governs.
constexpr std::initializer_list<int> kOptions = {1001, 1002, 1003, 1004, 1005, 1006,
                                                 1008, 1015, 1016, 1017, 1018};
// The options of the default configuration: 1001, 1003 to 1006, 1008, then 1002.
constexpr std::initializer_list<int> kDefault = {1001, 1003, 1004, 1005, 1006, 1008, 1002};

using MainWindowRules = MainWindowFixture;

TEST_F(MainWindowRules, StartsReadyToSendTheDefaultConfiguration) {
  EXPECT_EQ(Enabled({id::kSetConfig, id::kSaveSettings, id::kCustomConfiguration, id::kEnhancedSet,
                     id::kEnhancedWindow}),
            "11100");
  EXPECT_EQ(Checks({id::kSerialMode, id::kWedgeMode, id::kUsa, id::kCustomConfiguration}), "1010");
  EXPECT_EQ(Enabled(kOptions), "00000000000");
  EXPECT_EQ(Checks(kDefault) + Sentinels(), "0111000%|;|+|?");
  EXPECT_EQ(store->GetText(id::kPortList, 9) + store->GetText(id::kBaudList, 9), "COM319200");
  EXPECT_EQ(store->Items(id::kPortList).front(), "COM1 ");
  EXPECT_THAT(store->Items(id::kBaudList), ElementsAre("19200", "38400", "9600"));
  EXPECT_EQ(store->Limit(id::kHeadText) + store->Limit(id::kSentinel1), 15u);
  EXPECT_FALSE(store->IsVisible(id::kEnhancedWindow) || store->IsVisible(id::kSetConfigTemporary));
  EXPECT_EQ(store->tooltip_width(), 320);
  EXPECT_EQ(store->ToolTip(id::kHeadText),
            "Input to include data wrapper header of each track.\n\n* Non-text character can be "
            "entered:\n  Example 1: ABCD\\035EF\n  Means: ABCD + # + EF\n\n  Example 2: "
            "ABCD\\\\EF\n  Means: ABCD\\EF\n\n** Maximum input up to 14 characters. And, "
            "maximum of 14 characters for both header and tail data wrapper.");
  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_THAT(store->unknown_ids(), IsEmpty());
}

TEST(AboutBox, ShowsTheVersionAndClosesOnOk) {
  EXPECT_EQ(AboutBoxTemplate().controls.at(1).text, "Pelgar Version 1.32");
  ControlStore about(AboutBoxTemplate());
  AboutBox logic(about);
  EXPECT_TRUE(about.Click(kIdOk));
  EXPECT_EQ(about.closed() ? about.result() : 0, kIdOk);
}

TEST_F(MainWindowRules, UncheckingCustomConfigShowsTheDefaultForTheSwitchPosition) {
  store->SetCheck(id::kWedgeMode, true);
  store->Click(id::kWedgeMode);  // the indicators ignore clicks
  store->Click(id::kSerialMode);
  EXPECT_EQ(Checks({id::kWedgeMode, id::kSerialMode}), "11");
  store->Click(id::kCustomConfiguration);
  EXPECT_EQ(Enabled(kOptions), "11111111111");
  store->Paste(id::kSentinel2, "A");
  store->Click(id::kRawDataMode);
  store->Click(id::kTrack2);
  store->Enable(id::kSetConfig, false);

  store->Click(id::kCustomConfiguration);  // off: carriage return follows the wedge position
  EXPECT_EQ(Checks(kDefault) + Sentinels(), "0111001%|;|+|?");
  EXPECT_EQ(Enabled(kOptions) + Enabled({id::kSetConfig}), "000000000001");
  store->Click(id::kCustomConfiguration);  // on again: the values stay
  EXPECT_EQ(Checks(kDefault) + Sentinels(), "0111001%|;|+|?");
  EXPECT_EQ(Enabled(kOptions), "11111111111");
}

TEST_F(MainWindowRules, AnyOptionOrSentinelChangeEnablesSetAndSave) {
  store->Click(id::kCustomConfiguration);
  for (int control : {id::kRawDataMode, id::kHideErrorTracks, id::kEndSentinel}) {
    store->Enable(id::kSetConfig, false);
    store->Enable(id::kSaveSettings, false);
    control == id::kEndSentinel ? store->Backspace(control) : store->Click(control);
    EXPECT_EQ(Enabled({id::kSetConfig, id::kSaveSettings}), "11") << control;
  }
}

TEST_F(MainWindowRules, EnterClosesOnlyWithValidDataAndEscapeTakesNone) {
  store->SetText(id::kSentinel3, "++");  // a program may write past the typing limit
  store->PressEnter();
  EXPECT_FALSE(store->closed());
  EXPECT_THAT(messages.Texts(), ElementsAre("Please enter no more than 1 characters."));
  EXPECT_EQ(messages.shown[0].type, box::kIconExclamation);
  EXPECT_EQ(store->focused(), id::kSentinel3);
  store->PressEscape();
  EXPECT_EQ(store->closed() ? store->result() : 0, kIdCancel);
  EXPECT_EQ(messages.shown.size(), 1u);

  Open();
  store->PressEnter();
  EXPECT_EQ(store->closed() ? store->result() : 0, kIdOk);
}

TEST_F(MainWindowRules, ButtonsAndMenuHandOverToTheirActionsWithTheListTexts) {
  std::string opened;
  window->hooks().firmware_update = [&](const PortTexts& t) { opened += t.port + t.baud + ","; };
  window->hooks().enhanced_window = [&](const PortTexts& t, uint8_t cr_allowed) {
    opened += t.port + t.baud + std::to_string(cr_allowed) + ",";
  };
  window->hooks().about_box = [&] { opened += "about"; };
  window->hooks().save_configuration = [&](MainWindow&) { opened += "save,"; };
  window->hooks().load_configuration = [&](MainWindow&) { opened += "load,"; };
  store->Choose(id::kPortList, 0);
  store->Choose(id::kBaudList, 2);
  store->Click(id::kFirmwareUpdate);
  store->Click(id::kSaveSettings);
  store->Click(id::kLoadConfig);
  EXPECT_FALSE(store->Click(id::kEnhancedWindow));  // hidden: only the menu opens it
  store->ChooseMenuCommand(id::kEnhancedWindowCommand);
  store->ChooseMenuCommand(0xF060);  // other system commands are the platform's
  store->ChooseMenuCommand(id::kAboutCommand);
  // No configuration record read or written yet: per-track returns are not allowed.
  EXPECT_EQ(opened, "COM1 9600,save,load,COM1 96000,about");
}

}  // namespace
}  // namespace pelgar::ui
