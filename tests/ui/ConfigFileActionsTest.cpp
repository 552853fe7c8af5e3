#include <gtest/gtest.h>
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "MainWindowFixture.h"
#include "ui/ConfigFileActions.h"

namespace pelgar::ui {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr char kEnhancedStart[] =
    "Zyr MSR Configuration File\r\n5c%;+?\r\nZyr MSR Enhanced Configuration File\r\n";

// The user of the file dialogs: chooses the queued paths, then cancels.
class ScriptedFileDialogs : public FileDialogs {
 public:
  std::optional<std::string> Choose(const FileDialogRequest& request) override {
    requests.push_back(request);
    if (paths.empty()) return std::nullopt;
    std::string path = paths.front();
    paths.pop_front();
    return path;
  }
  std::deque<std::string> paths;
  std::vector<FileDialogRequest> requests;
};

class ConfigFileActionsTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    char pattern[] = "/tmp/pelgar-cfgui-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
    files = std::make_unique<ConfigFileActions>(*window, dialogs);
    window->hooks().save_configuration = [this](MainWindow&) { files->Save(); };
    window->hooks().load_configuration = [this](MainWindow&) { files->Load(); };
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Path(const std::string& name) const { return (dir / name).string(); }
  std::string Content(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Put(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }
  void SaveAs(const std::string& name) {
    dialogs.paths.push_back(Path(name));
    ASSERT_TRUE(store->Click(id::kSaveSettings));
  }
  void LoadFrom(const std::string& name) {
    dialogs.paths.push_back(Path(name));
    ASSERT_TRUE(store->Click(id::kLoadConfig));
  }
  std::string LastMessage() const {
    return messages.shown.empty() ? std::string() : messages.shown.back().text;
  }
  std::array<std::string, 4> Sentinels() {
    return {Text(id::kSentinel1), Text(id::kSentinel2), Text(id::kSentinel3),
            Text(id::kEndSentinel)};
  }

  fs::path dir;
  ScriptedFileDialogs dialogs;
  std::unique_ptr<ConfigFileActions> files;
};

TEST_F(ConfigFileActionsTest, SavesTheWindowAsSevenLinesAndLoadsThemBack) {
  ASSERT_TRUE(store->Click(id::kCustomConfiguration));
  SaveAs("a.dat");
  EXPECT_EQ(Content("a.dat"), std::string(kEnhancedStart) + "12H:\r\n12T:\r\n13:00\r\n15:01\r\n");
  EXPECT_EQ(LastMessage(), "Configuration successfully saved to " + Path("a.dat") + "!\n");
  EXPECT_EQ(messages.shown.back().caption, "Settings Saved!");
  const FileDialogRequest& request = dialogs.requests.back();
  EXPECT_EQ(request.title, "Select the Desired Target MSR Configuration File");
  EXPECT_TRUE(request.confirm_overwrite);
  EXPECT_EQ(request.filters.front().first, "All");

  // Change everything, then load: the saved state comes back.
  ASSERT_TRUE(store->Click(id::kTrack2));
  ASSERT_TRUE(store->Click(id::kRawDataMode));
  ASSERT_TRUE(store->Paste(id::kSentinel1, "!"));
  LoadFrom("a.dat");
  EXPECT_TRUE(store->IsChecked(id::kCustomConfiguration));
  EXPECT_TRUE(store->IsChecked(id::kTrack2));
  EXPECT_FALSE(store->IsChecked(id::kRawDataMode));
  EXPECT_FALSE(store->IsChecked(id::kCarriageReturn));
  EXPECT_EQ(Sentinels(), (std::array<std::string, 4>{"%", ";", "+", "?"}));
  EXPECT_EQ(dialogs.requests.back().title, "Select the Desired MSR Configuration File");
  EXPECT_EQ(messages.shown.back().caption, "Configuration Loaded Successfully!");
  EXPECT_EQ(LastMessage(), "Configuration file " + Path("a.dat") +
                               " loaded successfully!\n\nClick \"Set Config\" button for loaded "
                               "custom configuration to be applied to the MSR.\nClick \"Set\" "
                               "button for loaded enhanced configuration to be applied to the "
                               "MSR.");
}

TEST_F(ConfigFileActionsTest, SaveAsksToEnableCustomConfiguration) {
  messages.answers = {answer::kNo};
  SaveAs("no.dat");
  EXPECT_EQ(Content("no.dat").substr(28, 8), "1c%;+?\r\n");
  EXPECT_FALSE(store->IsChecked(id::kCustomConfiguration));
  EXPECT_EQ(messages.shown.front().caption, "Enable Custom Configuration?");

  messages.answers = {answer::kYes};
  SaveAs("yes.dat");
  EXPECT_EQ(Content("yes.dat").substr(28, 8), "5c%;+?\r\n");
  EXPECT_TRUE(store->IsChecked(id::kCustomConfiguration));
}

TEST_F(ConfigFileActionsTest, CancelledDialogsChangeNothing) {
  ASSERT_TRUE(store->Click(id::kSaveSettings));
  ASSERT_TRUE(store->Click(id::kLoadConfig));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(fs::is_empty(dir));
}

// Saving writes a new file beside the old one and replaces it only when complete.
TEST_F(ConfigFileActionsTest, FailedSaveReportsAndKeepsTheOldFile) {
  ASSERT_TRUE(store->Click(id::kCustomConfiguration));
  SaveAs("missing/a.dat");
  EXPECT_EQ(LastMessage(), "Error opening target configuration file.\nConfiguration not saved.");
  EXPECT_EQ(messages.shown.back().caption, "Error!");

  fs::create_directory(Path("taken.dat"));
  SaveAs("taken.dat");
  EXPECT_EQ(LastMessage(), "Error opening target configuration file.\nConfiguration not saved.");
  EXPECT_TRUE(fs::is_directory(Path("taken.dat")));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);
}

TEST_F(ConfigFileActionsTest, EmptySentinelEditsComeBackEmptyInTheirPlace) {
  ASSERT_TRUE(store->Click(id::kCustomConfiguration));
  ASSERT_TRUE(store->Backspace(id::kSentinel2));
  SaveAs("a.dat");
  EXPECT_EQ(Content("a.dat").substr(28, 8), "5c%\0+?\r\n"s);
  ASSERT_TRUE(store->Paste(id::kSentinel2, "x"));
  LoadFrom("a.dat");
  EXPECT_EQ(Sentinels(), (std::array<std::string, 4>{"%", "", "+", "?"}));
}

TEST_F(ConfigFileActionsTest, CustomConfigurationOffShowsDefaultsWithCarriageReturnOfTheSwitch) {
  store->SetCheck(id::kWedgeMode, true);
  store->SetCheck(id::kSerialMode, false);
  Put("a.dat", "Zyr MSR Configuration File\r\n1c!!!!\r\n");
  LoadFrom("a.dat");
  EXPECT_FALSE(store->IsChecked(id::kCustomConfiguration));
  EXPECT_TRUE(store->IsChecked(id::kCarriageReturn));  // although bit 0 is clear
  EXPECT_TRUE(store->IsChecked(id::kTrack1));
  EXPECT_EQ(Sentinels(), (std::array<std::string, 4>{"%", ";", "+", "?"}));
  EXPECT_FALSE(store->IsEnabled(id::kTrack1));  // enable rule applied
  EXPECT_TRUE(store->IsEnabled(id::kSetConfig));
}

TEST_F(ConfigFileActionsTest, BasicSectionAloneLeavesTheEnhancedGroupAlone) {
  ASSERT_TRUE(store->Click(id::kHeadWrapper));
  ASSERT_TRUE(store->Type(id::kHeadText, "AB"));
  ASSERT_TRUE(store->Click(id::kCrTrack2));
  Put("a.dat", "Kestrel MSR Configuration File\n4C%;+?\n");
  LoadFrom("a.dat");
  EXPECT_EQ(Text(id::kHeadText), "AB");
  EXPECT_TRUE(store->IsChecked(id::kCrTrack2));
  EXPECT_TRUE(store->IsChecked(id::kTrack1));
  EXPECT_TRUE(store->IsChecked(id::kTrack2));
  EXPECT_FALSE(store->IsChecked(id::kTrack3));  // 0x4C: tracks 1 and 2
  EXPECT_EQ(messages.shown.back().caption, "Configuration Loaded Successfully!");
}

TEST_F(ConfigFileActionsTest, LoadedWrapperTextsRunTheEnhancedGroupsRules) {
  store->Enable(id::kEnhancedSet, false);
  Put("a.dat", std::string(kEnhancedStart) + "12H:0123456789ABCD\r\n12T:\r\n13:0F\r\n15:FF\r\n");
  LoadFrom("a.dat");
  EXPECT_TRUE(store->IsChecked(id::kHeadWrapper));
  EXPECT_EQ(Text(id::kHeadText), "0123456789ABCD");
  // A 14-character head wrapper leaves no room for a tail.
  EXPECT_FALSE(store->IsChecked(id::kTailWrapper));
  EXPECT_FALSE(store->IsEnabled(id::kTailText));
  EXPECT_TRUE(store->IsEnabled(id::kEnhancedSet));
  EXPECT_TRUE(store->IsChecked(id::kCapitalMode));
  EXPECT_TRUE(store->IsChecked(id::kCrTrack3));
  EXPECT_TRUE(store->IsChecked(id::kCustomTable));
  EXPECT_FALSE(store->IsChecked(id::kUsa));

  Put("b.dat", std::string(kEnhancedStart) + "12H:\r\n12T:\\\\Z\r\n13:0f\r\n15:\r\n");
  LoadFrom("b.dat");
  EXPECT_FALSE(store->IsChecked(id::kHeadWrapper));
  EXPECT_FALSE(store->IsEnabled(id::kHeadText));
  EXPECT_TRUE(store->IsChecked(id::kTailWrapper));
  EXPECT_EQ(Text(id::kTailText), "\\\\Z");
  EXPECT_EQ(window->enhanced_group().head_budget(), 12);
  EXPECT_TRUE(store->IsChecked(id::kCustomTable));  // "15:" alone leaves the language

  Put("c.dat", std::string(kEnhancedStart) + "12H:\r\n12T:\r\n13:00\r\n15:7\r\n");
  LoadFrom("c.dat");
  EXPECT_FALSE(store->IsChecked(id::kAltNumPad));
  EXPECT_FALSE(store->IsChecked(id::kUsa));
  EXPECT_FALSE(store->IsChecked(id::kCustomTable));
}

// Fourteen "\ddd" escapes are a valid wrapper of 56 typed characters, more than one read
// of the wrapper line takes; the file keeps it in a form that fits.
TEST_F(ConfigFileActionsTest, LongEscapedWrapperSurvivesSaveAndLoad) {
  ASSERT_TRUE(store->Click(id::kCustomConfiguration));
  ASSERT_TRUE(store->Click(id::kHeadWrapper));
  std::string escaped;
  for (int i = 0; i < 14; ++i) escaped += "\\065";
  ASSERT_TRUE(store->Type(id::kHeadText, escaped));
  ASSERT_TRUE(store->Click(id::kCrTrack1));
  SaveAs("a.dat");
  LoadFrom("a.dat");
  EXPECT_EQ(Text(id::kHeadText), std::string(14, 'A'));
  EXPECT_TRUE(store->IsChecked(id::kCrTrack1));
  EXPECT_TRUE(store->IsChecked(id::kUsa));
}

TEST_F(ConfigFileActionsTest, OverlongWrapperLineOfAFileShiftsTheLinesAfterIt) {
  Put("a.dat", std::string(kEnhancedStart) + "12H:" + std::string(60, 'x') +
                   "\r\n12T:B\r\n13:0F\r\n15:00\r\n");
  LoadFrom("a.dat");
  EXPECT_EQ(store->Text(id::kHeadText), std::string(55, 'x'));
  EXPECT_FALSE(store->IsChecked(id::kTailWrapper));  // its key was not found in its line
  EXPECT_FALSE(store->IsChecked(id::kCrTrack1));
  EXPECT_TRUE(store->IsChecked(id::kUsa));
  // The too-long text was refused by the data exchange, once per check of it.
  EXPECT_NE(std::find(messages.Texts().begin(), messages.Texts().end(),
                      "Please enter no more than 14 characters."),
            messages.Texts().end());
}

TEST_F(ConfigFileActionsTest, FormatErrorsLeaveTheControlsUntouched) {
  Put("header.dat", "MSR Configuration\r\n5c%;+?\r\n");
  LoadFrom("header.dat");
  EXPECT_EQ(LastMessage(), "Bad configuration file header.");
  Put("short.dat", "Zyr MSR Configuration File\r\n");
  LoadFrom("short.dat");
  EXPECT_EQ(LastMessage(), "Error getting configuration data from file.");
  EXPECT_EQ(messages.shown.back().caption, "Error!");
  EXPECT_FALSE(store->IsChecked(id::kCustomConfiguration));

  EXPECT_EQ(files->LoadFile(Path("none.dat")).outcome, ConfigFileActions::LoadOutcome::kOpenFailed);
  EXPECT_EQ(LastMessage(), "Error opening configuration file.");
}

}  // namespace
}  // namespace pelgar::ui
