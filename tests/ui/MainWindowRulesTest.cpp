#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "ui/AboutBox.h"

namespace pelgar::ui {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kOptionsAndSentinels[] = {1001, 1002, 1003, 1004, 1005, 1006,
                                        1008, 1015, 1016, 1017, 1018};

using MainWindowRules = MainWindowFixture;

TEST_F(MainWindowRules, StartsReadyToSendTheDefaultConfiguration) {
  EXPECT_TRUE(store->IsEnabled(id::kSetConfig));
  EXPECT_TRUE(store->IsEnabled(id::kSaveSettings));
  EXPECT_FALSE(store->IsEnabled(id::kEnhancedSet));
  EXPECT_TRUE(store->IsChecked(id::kSerialMode));
  EXPECT_FALSE(store->IsChecked(id::kWedgeMode));
  EXPECT_TRUE(store->IsChecked(id::kUsa));
  EXPECT_FALSE(store->IsChecked(id::kCustomConfiguration));
  EXPECT_TRUE(store->IsEnabled(id::kCustomConfiguration));
  for (int control : kOptionsAndSentinels) EXPECT_FALSE(store->IsEnabled(control)) << control;
  EXPECT_FALSE(store->IsChecked(id::kRawDataMode));
  EXPECT_FALSE(store->IsChecked(id::kCarriageReturn));
  EXPECT_TRUE(store->IsChecked(id::kTrack1) && store->IsChecked(id::kTrack2) &&
              store->IsChecked(id::kTrack3));
  EXPECT_EQ(
      Text(id::kSentinel1) + Text(id::kSentinel2) + Text(id::kSentinel3) + Text(id::kEndSentinel),
      "%;+?");
  EXPECT_EQ(store->GetText(id::kPortList, 9), "COM3");
  EXPECT_EQ(store->GetText(id::kBaudList, 9), "19200");
  EXPECT_EQ(store->Limit(id::kHeadText), 14u);
  EXPECT_EQ(store->Limit(id::kSentinel1), 1u);
  EXPECT_FALSE(store->IsVisible(id::kEnhancedWindow) || store->IsEnabled(id::kEnhancedWindow));
  EXPECT_FALSE(store->IsVisible(id::kSetConfigTemporary));
  EXPECT_TRUE(store->tooltips_active());
  EXPECT_EQ(store->tooltip_width(), 320);
  EXPECT_THAT(messages.Texts(), IsEmpty());
  EXPECT_THAT(store->unknown_ids(), IsEmpty());
}

TEST_F(MainWindowRules, TemplateListsKeepTheirTextsAndOrder) {
  std::vector<std::string> entries = store->Items(id::kPortList);
  ASSERT_EQ(entries.size(), 11u);
  EXPECT_EQ(entries[0], "COM1 ");
  EXPECT_EQ(entries[10], "COM11");
  EXPECT_THAT(store->Items(id::kBaudList), ElementsAre("19200", "38400", "9600"));
  EXPECT_EQ(MainWindowTemplate().title, "Kestrel MSR Configuration Utility");
}

TEST_F(MainWindowRules, WrapperBoxTipsCarryTheEscapeExamples) {
  EXPECT_EQ(store->ToolTip(id::kHeadText),
            "Input to include data wrapper header of each track.\n\n* Non-text character can be "
            "entered:\n  Example 1: ABCD\\035EF\n  Means: ABCD + # + EF\n\n  Example 2: "
            "ABCD\\\\EF\n  Means: ABCD\\EF\n\n** Maximum input up to 14 characters. And, "
            "maximum of 14 characters for both header and tail data wrapper.");
  EXPECT_EQ(store->ToolTip(id::kEnhancedWindow), "");
}

TEST(AboutBox, ShowsTheVersionAndClosesOnOk) {
  const DialogTemplate& dialog = AboutBoxTemplate();
  EXPECT_EQ(dialog.id, 100);
  EXPECT_EQ(dialog.title, "About Pelgar");
  EXPECT_EQ(dialog.controls.at(1).text, "Pelgar Version 1.32");
  ControlStore about(dialog);
  AboutBox logic(about);
  EXPECT_TRUE(about.Click(kIdOk));
  EXPECT_TRUE(about.closed());
  EXPECT_EQ(about.result(), kIdOk);
}

TEST_F(MainWindowRules, SlideSwitchIndicatorsIgnoreClicks) {
  store->Click(id::kWedgeMode);
  store->Click(id::kSerialMode);
  EXPECT_FALSE(store->IsChecked(id::kWedgeMode));
  EXPECT_TRUE(store->IsChecked(id::kSerialMode));
}

TEST_F(MainWindowRules, UncheckingCustomConfigRestoresTheDefaultForTheSwitchPosition) {
  store->SetCheck(id::kWedgeMode, true);
  store->Click(id::kCustomConfiguration);  // on: the options become editable
  for (int control : kOptionsAndSentinels) EXPECT_TRUE(store->IsEnabled(control)) << control;
  store->SetText(id::kSentinel1, "");
  store->Paste(id::kSentinel2, "A");
  store->Click(id::kRawDataMode);
  store->Click(id::kTrack2);
  store->Enable(id::kSetConfig, false);

  store->Click(id::kCustomConfiguration);  // off
  EXPECT_TRUE(store->IsChecked(id::kCarriageReturn));
  EXPECT_FALSE(store->IsChecked(id::kRawDataMode));
  EXPECT_TRUE(store->IsChecked(id::kTrack2));
  EXPECT_EQ(Text(id::kSentinel1) + Text(id::kSentinel2), "%;");
  EXPECT_TRUE(store->IsEnabled(id::kSetConfig));
  for (int control : kOptionsAndSentinels) EXPECT_FALSE(store->IsEnabled(control)) << control;

  store->Click(id::kCustomConfiguration);  // on again: the values stay
  EXPECT_TRUE(store->IsChecked(id::kCarriageReturn));
  EXPECT_EQ(Text(id::kSentinel1), "%");
  for (int control : kOptionsAndSentinels) EXPECT_TRUE(store->IsEnabled(control)) << control;
}

TEST_F(MainWindowRules, AnyOptionOrSentinelChangeEnablesSetAndSave) {
  store->Click(id::kCustomConfiguration);
  for (int control : {id::kRawDataMode, id::kHideErrorTracks}) {
    store->Enable(id::kSetConfig, false);
    store->Enable(id::kSaveSettings, false);
    store->Click(control);
    EXPECT_TRUE(store->IsEnabled(id::kSetConfig) && store->IsEnabled(id::kSaveSettings));
  }
  store->Enable(id::kSetConfig, false);
  store->Backspace(id::kEndSentinel);
  EXPECT_TRUE(store->IsEnabled(id::kSetConfig));
}

TEST_F(MainWindowRules, EnterTakesTheDataAndClosesOnlyWhenItIsValid) {
  store->SetText(id::kSentinel3, "++");  // a program may write past the typing limit
  store->PressEnter();
  EXPECT_FALSE(store->closed());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Please enter no more than 1 characters.");
  EXPECT_EQ(messages.shown[0].type, box::kIconExclamation);
  EXPECT_EQ(store->focused(), id::kSentinel3);

  store->SetText(id::kSentinel3, "+");
  store->PressEnter();
  EXPECT_TRUE(store->closed());
  EXPECT_EQ(store->result(), kIdOk);
}

TEST_F(MainWindowRules, EscapeClosesWithoutTakingData) {
  store->SetText(id::kSentinel3, "++");
  store->PressEscape();
  EXPECT_TRUE(store->closed());
  EXPECT_EQ(store->result(), kIdCancel);
  EXPECT_THAT(messages.Texts(), IsEmpty());
}

TEST_F(MainWindowRules, OtherWindowsGetCopiesOfTheListTexts) {
  PortTexts firmware;
  PortTexts enhanced;
  uint8_t cr_allowed = 9;
  int abouts = 0;
  window->hooks().firmware_update = [&](const PortTexts& t) { firmware = t; };
  window->hooks().enhanced_window = [&](const PortTexts& t, uint8_t allowed) {
    enhanced = t;
    cr_allowed = allowed;
  };
  window->hooks().about_box = [&] { ++abouts; };
  store->Choose(id::kPortList, 0);
  store->Choose(id::kBaudList, 2);

  store->Click(id::kFirmwareUpdate);
  EXPECT_EQ(firmware.port, "COM1 ");
  EXPECT_EQ(firmware.baud, "9600");
  EXPECT_FALSE(store->Click(id::kEnhancedWindow));  // hidden: only the menu opens it
  store->ChooseMenuCommand(id::kEnhancedWindowCommand);
  EXPECT_EQ(enhanced.port, "COM1 ");
  EXPECT_EQ(cr_allowed, 0);
  store->ChooseMenuCommand(id::kAboutCommand);
  store->ChooseMenuCommand(0xF060);  // other system commands are the platform's
  EXPECT_EQ(abouts, 1);
}

TEST_F(MainWindowRules, UnattendedRunTakesOverBeforeTheWindowIsPrepared) {
  MainWindow* seen = nullptr;
  MainWindowSettings settings{true, "COM4", "9600"};
  window.reset();
  store = std::make_unique<ControlStore>(MainWindowTemplate());
  window = std::make_unique<MainWindow>(*store, messages, env, settings);
  window->hooks().unattended_run = [&](MainWindow& w) {
    seen = &w;
    EXPECT_EQ(store->GetText(id::kPortList, 9), "COM3");  // the lists are set up first
    return 7;
  };
  window->OnInitDialog();
  EXPECT_EQ(seen, window.get());
  EXPECT_TRUE(store->closed());
  EXPECT_EQ(store->result(), 7);
  EXPECT_FALSE(store->tooltips_active());
  EXPECT_EQ(Text(id::kSentinel1), "");  // no default configuration shown
  EXPECT_EQ(window->port_texts().port, "COM4");
  EXPECT_EQ(window->port_texts().baud, "9600");
}

}  // namespace
}  // namespace pelgar::ui
