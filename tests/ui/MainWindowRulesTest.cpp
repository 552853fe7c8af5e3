#include <map>

#include "MainWindowFixture.h"

namespace pelgar::ui {
namespace {

// The controls these rules govern, by the names a failure prints.
const std::map<int, std::string> kNames = {{id::kRawDataMode, "raw"},
                                           {id::kCarriageReturn, "cr"},
                                           {id::kTrack1, "track1"},
                                           {id::kTrack2, "track2"},
                                           {id::kTrack3, "track3"},
                                           {id::kStripSentinels, "strip"},
                                           {id::kHideErrorTracks, "hide"},
                                           {id::kSentinel1, "sentinel1"},
                                           {id::kSentinel2, "sentinel2"},
                                           {id::kSentinel3, "sentinel3"},
                                           {id::kEndSentinel, "end"},
                                           {id::kCustomConfiguration, "custom"},
                                           {id::kSetConfig, "set"},
                                           {id::kSaveSettings, "save"},
                                           {id::kEnhancedSet, "enhancedSet"},
                                           {id::kEnhancedWindow, "enhancedWindow"},
                                           {id::kSerialMode, "serial"},
                                           {id::kWedgeMode, "wedge"},
                                           {id::kUsa, "usa"}};
// What the enable rule governs: the options and the sentinel edits.
constexpr Ids kOptions = {id::kRawDataMode,     id::kCarriageReturn, id::kTrack1,
                          id::kTrack2,          id::kTrack3,         id::kStripSentinels,
                          id::kHideErrorTracks, id::kSentinel1,      id::kSentinel2,
                          id::kSentinel3,       id::kEndSentinel};
const std::string kAllOptions =
    "raw cr track1 track2 track3 strip hide sentinel1 sentinel2 sentinel3 end";
// The system menu's Close: the platform's own command, not the window's.
constexpr int kSystemClose = 0xF060;

class MainWindowRules : public MainWindowFixture {
 protected:
  // The names of those of `ids` that are checked, or enabled.
  std::string Checked(Ids ids) { return Named(ids, &ControlStore::IsChecked); }
  std::string Enabled(Ids ids) { return Named(ids, &ControlStore::IsEnabled); }
  std::string Named(Ids ids, bool (ControlStore::*state)(int) const) {
    std::string names;
    for (int control : ids) {
      if (((*store).*state)(control)) names += (names.empty() ? "" : " ") + kNames.at(control);
    }
    return names;
  }
};

TEST_F(MainWindowRules, StartsReadyToSendTheDefaultConfiguration) {
  EXPECT_EQ(Enabled({id::kSetConfig, id::kSaveSettings, id::kCustomConfiguration, id::kEnhancedSet,
                     id::kEnhancedWindow}),
            "set save custom");
  EXPECT_EQ(Enabled(kOptions), "");
  EXPECT_EQ(Checked({id::kSerialMode, id::kWedgeMode, id::kUsa, id::kCustomConfiguration}),
            "serial usa");
  EXPECT_EQ(store->Limit(id::kSentinel1), 1u);
  EXPECT_FALSE(store->IsVisible(id::kEnhancedWindow) || store->IsVisible(id::kSetConfigTemporary));
  EXPECT_TRUE(messages.shown.empty() && store->unknown_ids().empty());
}

TEST_F(MainWindowRules, ChangesEnableSetAndUncheckingCustomConfigShowsTheSwitchsDefault) {
  store->SetCheck(id::kWedgeMode, true);
  Click({id::kWedgeMode, id::kSerialMode});  // the indicators ignore clicks
  EXPECT_EQ(Checked({id::kWedgeMode, id::kSerialMode}), "wedge serial");
  store->Click(id::kCustomConfiguration);
  EXPECT_EQ(Enabled(kOptions), kAllOptions);
  for (int control : {id::kRawDataMode, id::kTrack2, id::kSentinel2}) {
    store->Enable(id::kSetConfig, false);
    store->Enable(id::kSaveSettings, false);
    control == id::kSentinel2 ? store->Paste(control, "A") : store->Click(control);
    EXPECT_EQ(Enabled({id::kSetConfig, id::kSaveSettings}), "set save") << kNames.at(control);
  }
  store->Enable(id::kSetConfig, false);
  store->Click(id::kCustomConfiguration);  // off: carriage return follows the wedge position
  EXPECT_EQ(Checked(kOptions) + "|" + Sentinels(), "cr track1 track2 track3|%|;|+|?");
  EXPECT_EQ(Enabled(kOptions) + "|" + Enabled({id::kSetConfig}), "|set");
  store->Click(id::kCustomConfiguration);  // on again: the values stay
  EXPECT_EQ(Checked(kOptions) + "|" + Sentinels(), "cr track1 track2 track3|%|;|+|?");
  EXPECT_EQ(Enabled(kOptions), kAllOptions);
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
  window->hooks().save_configuration = [&](MainWindow&) { opened += "save,"; };
  window->hooks().load_configuration = [&](MainWindow&) { opened += "load,"; };
  store->Choose(id::kPortList, 0);
  store->Choose(id::kBaudList, 2);
  Click({id::kFirmwareUpdate, id::kSaveSettings, id::kLoadConfig});
  EXPECT_FALSE(store->Click(id::kEnhancedWindow));  // hidden: only the menu opens it
  store->ChooseMenuCommand(kSystemClose);
  EXPECT_EQ(opened, "COM1 9600,save,load,");
}

}  // namespace
}  // namespace pelgar::ui
