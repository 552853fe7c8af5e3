#include "MainWindowFixture.h"

namespace pelgar::ui {
namespace {

// The options 1001 to 1006 and 1008 and the sentinel edits: what the enable rule governs.
constexpr std::initializer_list<int> kOptions = {1001, 1002, 1003, 1004, 1005, 1006,
                                                 1008, 1015, 1016, 1017, 1018};
// The options of the default configuration: 1001, 1003 to 1006, 1008, then 1002.
constexpr std::initializer_list<int> kDefault = {1001, 1003, 1004, 1005, 1006, 1008, 1002};

using MainWindowRules = MainWindowFixture;

TEST_F(MainWindowRules, StartsReadyToSendTheDefaultConfiguration) {
  // Enabled: Set, Save, custom, enhanced Set and window, the options; checked: serial, wedge,
  // USA, custom, the default options; the sentinels; the lists' texts.
  EXPECT_EQ(Enabled({id::kSetConfig, id::kSaveSettings, id::kCustomConfiguration, id::kEnhancedSet,
                     id::kEnhancedWindow, kGap}) +
                Enabled(kOptions) +
                Checks({kGap, id::kSerialMode, id::kWedgeMode, id::kUsa, id::kCustomConfiguration,
                        kGap}) +
                Checks(kDefault) + Sentinels() + " " + store->GetText(id::kPortList, 9) +
                store->GetText(id::kBaudList, 9),
            "11100 00000000000 1010 0111000%|;|+|? COM319200");
  EXPECT_EQ(store->Items(id::kPortList).front(), "COM1 ");
  EXPECT_THAT(store->Items(id::kBaudList), ElementsAre("19200", "38400", "9600"));
  EXPECT_EQ(store->Limit(id::kHeadText), 14u);
  EXPECT_EQ(store->Limit(id::kSentinel1), 1u);
  EXPECT_FALSE(store->IsVisible(id::kEnhancedWindow) || store->IsVisible(id::kSetConfigTemporary));
  EXPECT_TRUE(messages.shown.empty() && store->unknown_ids().empty());
}

TEST_F(MainWindowRules, ChangesEnableSetAndUncheckingCustomConfigShowsTheSwitchsDefault) {
  store->SetCheck(id::kWedgeMode, true);
  Click({id::kWedgeMode, id::kSerialMode});  // the indicators ignore clicks
  EXPECT_EQ(Checks({id::kWedgeMode, id::kSerialMode}), "11");
  store->Click(id::kCustomConfiguration);
  EXPECT_EQ(Enabled(kOptions), "11111111111");
  for (int control : {id::kRawDataMode, id::kTrack2, id::kSentinel2}) {
    store->Enable(id::kSetConfig, false);
    store->Enable(id::kSaveSettings, false);
    control == id::kSentinel2 ? store->Paste(control, "A") : store->Click(control);
    EXPECT_EQ(Enabled({id::kSetConfig, id::kSaveSettings}), "11") << control;
  }
  store->Enable(id::kSetConfig, false);
  store->Click(id::kCustomConfiguration);  // off: carriage return follows the wedge position
  EXPECT_EQ(Checks(kDefault) + Sentinels() + Enabled(kOptions) + Enabled({id::kSetConfig}),
            "0111001%|;|+|?000000000001");
  store->Click(id::kCustomConfiguration);  // on again: the values stay
  EXPECT_EQ(Checks(kDefault) + Sentinels() + Enabled(kOptions), "0111001%|;|+|?11111111111");
}

TEST_F(MainWindowRules, EnterClosesOnlyWithValidDataAndEscapeTakesNone) {
  store->SetText(id::kSentinel3, "++");  // a program may write past the typing limit
  store->PressEnter();
  EXPECT_EQ(store->closed() ? -1 : store->focused(), id::kSentinel3);
  store->PressEscape();
  EXPECT_EQ(store->closed() ? store->result() : 0, kIdCancel);
  EXPECT_THAT(messages.shown, ElementsAre("30: Please enter no more than 1 characters."));
  Open();
  store->PressEnter();
  EXPECT_EQ(store->closed() ? store->result() : 0, kIdOk);
}

TEST_F(MainWindowRules, ButtonsAndMenuHandOverToTheirActionsWithTheListTexts) {
  std::string opened;
  window->hooks().firmware_update = [&](const PortTexts& t) { opened += t.port + t.baud + ","; };
  window->hooks().enhanced_window = [&](const PortTexts& t, bool cr_allowed) {
    opened += t.port + t.baud + std::to_string(cr_allowed) + ",";
  };
  window->hooks().about_box = [&] { opened += "about"; };
  window->hooks().save_configuration = [&](MainWindow&) { opened += "save,"; };
  window->hooks().load_configuration = [&](MainWindow&) { opened += "load,"; };
  store->Choose(id::kPortList, 0);
  store->Choose(id::kBaudList, 2);
  Click({id::kFirmwareUpdate, id::kSaveSettings, id::kLoadConfig});
  EXPECT_FALSE(store->Click(id::kEnhancedWindow));  // hidden: only the menu opens it
  store->ChooseMenuCommand(id::kEnhancedWindowCommand);
  store->ChooseMenuCommand(0xF060);  // other system commands are the platform's
  store->ChooseMenuCommand(id::kAboutCommand);
  // No configuration record read or written yet: per-track returns are not allowed.
  EXPECT_EQ(opened, "COM1 9600,save,load,COM1 96000,about");
}

}  // namespace
}  // namespace pelgar::ui
