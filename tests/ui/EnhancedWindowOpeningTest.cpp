// The main window opens the enhanced configuration window: from its system menu (button
// 1013 stays hidden), with its list texts and what its last Get or Set Config learnt.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "ScriptedDialogHost.h"
#include "config/ConfigurationRecord.h"
#include "config/EnhancedSettings.h"
#include "ui/EnhancedConfigTemplate.h"
#include "ui/EnhancedConfigWindow.h"

namespace pelgar::ui {
namespace {

class EnhancedWindowOpeningTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    enhanced.AttachTo(window->hooks(), host);
  }

  EnhancedConfigWindow enhanced{env, messages};
  ScriptedDialogHost host;
};

TEST_F(EnhancedWindowOpeningTest, MenuOpensItWithTheListTextsWhileButton1013StaysHidden) {
  EXPECT_FALSE(store->IsVisible(id::kEnhancedWindow));
  EXPECT_FALSE(store->Click(id::kEnhancedWindow));
  EXPECT_EQ(host.openings(), 0);

  store->ChooseMenuCommand(id::kEnhancedWindowCommand);
  ASSERT_EQ(host.openings(), 1);
  EXPECT_EQ(enhanced.port_texts().port, "COM3");
  EXPECT_EQ(enhanced.port_texts().baud, "19200");
  // No configuration record read or written yet: the per-track returns are not offered.
  EXPECT_FALSE(host.last().IsEnabled(enhanced_ids::kCrTrack1));
  EXPECT_TRUE(store->IsEnabled(id::kGetConfig));  // the main window is still usable
}

TEST_F(EnhancedWindowOpeningTest, CarriageReturnsAreOfferedAfterAGetConfigFoundThemOff) {
  reader.state().active_option_byte = config::kCustomConfigurationBit;  // no carriage return
  store->Click(id::kGetConfig);
  host.Then([](ControlStore& s) {
    EXPECT_TRUE(s.IsEnabled(enhanced_ids::kCrTrack2));
    s.Click(enhanced_ids::kCrTrack2);
    s.Click(enhanced_ids::kSetCr);
  });
  store->ChooseMenuCommand(id::kEnhancedWindowCommand);
  EXPECT_EQ(reader.state().cr_byte, config::kCrTrack2Bit);

  store->Click(id::kCarriageReturn);  // Set Config sends it on
  store->Click(id::kSetConfig);
  store->ChooseMenuCommand(id::kEnhancedWindowCommand);
  EXPECT_FALSE(host.last().IsEnabled(enhanced_ids::kCrTrack2));
  EXPECT_FALSE(host.last().IsEnabled(enhanced_ids::kGetCr));
}

}  // namespace
}  // namespace pelgar::ui
