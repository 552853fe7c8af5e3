#include <filesystem>
#include <fstream>
#include <utility>

#include "MainWindowFixture.h"
#include "support/TestEnvironment.h"
#include "ui/main/ConfigFileActions.h"

namespace pelgar::ui {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using ::testing::StartsWith;

constexpr char kEnhancedStart[] =
    "Zyr MSR Configuration File\r\n5c%;+?\r\nZyr MSR Enhanced Configuration File\r\n";
constexpr char kLoaded[] = "Configuration Loaded Successfully!/40: Configuration file ";

// The fixture is the user of the file dialogs: it chooses `path` once, then cancels.
class ConfigFileActionsTest : public MainWindowFixture, public FileDialogs {
 protected:
  std::optional<std::string> Choose(const FileDialogRequest& request) override {
    titles += request.title + (request.confirm_overwrite ? " (confirms)|" : "|");
    return std::exchange(path, std::nullopt);
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  std::string Content(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  void Save(const std::string& name) {
    path = Path(name);
    ConfigFileActions(*window, *this).Save();
  }
  void Load(const std::string& content, const std::string& name = "in.dat") {
    if (!content.empty()) temp.Put(name, content);
    path = Path(name);
    ConfigFileActions(*window, *this).Load();
  }

  platform::TempDir temp;
  const fs::path& dir = temp.root;
  std::optional<std::string> path;
  std::string titles;
};

// Saving without the custom configuration asks to enable it; Yes saves it enabled.
TEST_F(ConfigFileActionsTest, SavesTheWindowAsSevenLinesAndLoadsThemBack) {
  store->SetText(id::kSentinel2, "");  // an empty edit keeps its place
  messages.answers = {answer::kYes};
  Save("a.dat");
  EXPECT_EQ(Content("a.dat"),
            "Zyr MSR Configuration File\r\n5c%\0+?\r\nZyr MSR Enhanced "
            "Configuration File\r\n12H:\r\n12T:\r\n13:00\r\n15:01\r\n"s);
  store->SetCheck(id::kTrack2, false);
  store->SetCheck(id::kRawDataMode, true);
  store->SetText(id::kSentinel2, "!");
  Load("", "a.dat");
  EXPECT_EQ(Checks({id::kCustomConfiguration, id::kTrack2, id::kRawDataMode}) + Sentinels(),
            "110%||+|?");
  EXPECT_THAT(
      messages.shown,
      ElementsAre(
          StartsWith("Enable Custom Configuration?/44: "),
          "Settings Saved!/40: Configuration successfully saved to " + Path("a.dat") + "!\n",
          kLoaded + Path("a.dat") +
              " loaded successfully!\n\nClick \"Set Config\" button for loaded "
              "custom configuration to be applied to the MSR.\nClick \"Set\" "
              "button for loaded enhanced configuration to be applied to the MSR."));
  EXPECT_EQ(titles,
            "Select the Desired Target MSR Configuration File (confirms)|Select the Desired MSR "
            "Configuration File|");
}

TEST_F(ConfigFileActionsTest, FailedSaveOrLoadIsReportedAndChangesNothing) {
  Click({id::kCustomConfiguration, id::kTrack1});
  Save("missing/a.dat");
  // A path longer than the file dialog's buffer cannot be chosen: nothing written or shown.
  Save(std::string(256, 'n') + ".dat");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 0);
  // A file that cannot be opened is named with the reason. The other load failures' texts
  // reach the unattended run's summary (see the app tests).
  Load("", "none.dat");
  Load("MSR Configuration\r\n5c%;+?\r\n");
  EXPECT_FALSE(store->IsChecked(id::kTrack1));  // nothing changed
  EXPECT_THAT(messages.shown,
              ElementsAre("Error!/30: Error opening target configuration file.\nConfiguration "
                          "not saved.",
                          "Error!/30: Error opening configuration file.\n\n" + Path("none.dat") +
                              ": no such file",
                          "Error!/30: Bad configuration file header."));
}

// Before each load: wedge position, head wrapper "AB", CR track 2, enhanced Set disabled.
TEST_F(ConfigFileActionsTest, LoadsEachShapeOfFile) {
  // The file; then CR 1 to 3, capital | Alt, USA, custom table | custom, CR | enabled: track
  // 1, Set Config, enhanced Set | the wrapper boxes.
  const std::pair<std::string, std::string> cases[] = {
      // Custom configuration off: the defaults, with the carriage return of the switch.
      {"Zyr MSR Configuration File\r\n1c!!!!\r\n", "0100 010 01 010 AB| 10 10"},
      // A 14-character head keeps the tail out of the checks, box and all.
      {kEnhancedStart + "12H:ABCDEFGHIJKLMN\r\n12T:ABC\r\n13:0F\r\n15:00\r\n"s,
       "1111 100 10 111 ABCDEFGHIJKLMN|ABC 10 10"},
      {kEnhancedStart + "12H:\r\n12T:\\\\Z\r\n13:0f\r\n15:\r\n"s, "1111 010 10 111 |\\\\Z 01 01"},
      {kEnhancedStart + "12H:\r\n12T:\r\n13:00\r\n15:7\r\n"s, "0000 000 10 111 | 00 00"},
  };
  for (const auto& [content, shown] : cases) {
    SCOPED_TRACE(content);
    Open();
    store->SetCheck(id::kWedgeMode, true);
    store->SetCheck(id::kSerialMode, false);
    Click({id::kHeadWrapper, id::kCrTrack2});
    store->Type(id::kHeadText, "AB");
    store->Enable(id::kEnhancedSet, false);
    messages.shown.clear();
    Load(content);
    EXPECT_EQ(Checks({id::kCrTrack1, id::kCrTrack2, id::kCrTrack3, id::kCapitalMode, kGap,
                      id::kAltNumPad, id::kUsa, id::kCustomTable, kGap, id::kCustomConfiguration,
                      id::kCarriageReturn, kGap}) +
                  Enabled({id::kTrack1, id::kSetConfig, id::kEnhancedSet, kGap}) + Wrappers(),
              shown);
    EXPECT_THAT(messages.shown, ElementsAre(StartsWith(kLoaded)));
  }
}

// Fourteen "\ddd" escapes are a valid wrapper of 56 typed characters, more than one read
// of the wrapper line takes; the file keeps it in a form that fits.
TEST_F(ConfigFileActionsTest, LongEscapedWrapperSurvivesSaveAndLoadButNotALongerOne) {
  Click({id::kCustomConfiguration, id::kHeadWrapper, id::kCrTrack1});
  for (int i = 0; i < 14; ++i) store->Type(id::kHeadText, "\\065");
  Save("a.dat");
  Load(Content("a.dat"));
  EXPECT_EQ(Text(id::kHeadText) + Checks({id::kCrTrack1, id::kUsa}), std::string(14, 'A') + "11");
  // One character more once decoded, and the loaded box is refused where it is shown.
  Load(kEnhancedStart + "12H:ABCDEFGHIJKLMN\\035\r\n"s);
  EXPECT_THAT(messages.shown, ::testing::Contains("30: Please enter no more than 17 characters."));
}

}  // namespace
}  // namespace pelgar::ui
