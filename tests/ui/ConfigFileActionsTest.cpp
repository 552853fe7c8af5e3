#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "MainWindowFixture.h"
#include "ui/ConfigFileActions.h"

namespace pelgar::ui {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

constexpr char kEnhancedStart[] =
    "Zyr MSR Configuration File\r\n5c%;+?\r\nZyr MSR Enhanced Configuration File\r\n";

// The user of the file dialogs: chooses the path given, else cancels.
struct ScriptedFileDialogs : FileDialogs {
  std::optional<std::string> Choose(const FileDialogRequest& request) override {
    titles.push_back(request.title + (request.confirm_overwrite ? " (confirms)" : ""));
    return std::exchange(path, std::nullopt);
  }
  std::optional<std::string> path;
  std::vector<std::string> titles;
};

class ConfigFileActionsTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    char pattern[] = "/tmp/pelgar-cfgui-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const std::string& name) const { return (dir / name).string(); }
  std::string Content(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Save(const std::string& name) {
    dialogs.path = Path(name);
    ConfigFileActions(*window, dialogs).Save();
  }
  void Load(const std::string& content, const std::string& name = "in.dat") {
    if (!content.empty()) std::ofstream(Path(name), std::ios::binary) << content;
    dialogs.path = Path(name);
    ConfigFileActions(*window, dialogs).Load();
  }
  std::string Last() const {
    return messages.shown.back().caption + ": " + messages.shown.back().text;
  }

  fs::path dir;
  ScriptedFileDialogs dialogs;
};

TEST_F(ConfigFileActionsTest, SavesTheWindowAsSevenLinesAndLoadsThemBack) {
  store->Click(id::kCustomConfiguration);
  store->Backspace(id::kSentinel2);  // an empty edit keeps its place
  Save("a.dat");
  EXPECT_EQ(Content("a.dat"),
            "Zyr MSR Configuration File\r\n5c%\0+?\r\nZyr MSR Enhanced "
            "Configuration File\r\n12H:\r\n12T:\r\n13:00\r\n15:01\r\n"s);
  EXPECT_EQ(Last(),
            "Settings Saved!: Configuration successfully saved to " + Path("a.dat") + "!\n");

  store->Click(id::kTrack2);
  store->Click(id::kRawDataMode);
  store->Paste(id::kSentinel2, "!");
  Load("", "a.dat");
  EXPECT_EQ(Checks({id::kCustomConfiguration, id::kTrack2, id::kRawDataMode}) + Sentinels(),
            "110%||+|?");
  EXPECT_EQ(Last(), "Configuration Loaded Successfully!: Configuration file " + Path("a.dat") +
                        " loaded successfully!\n\nClick \"Set Config\" button for loaded custom "
                        "configuration to be applied to the MSR.\nClick \"Set\" button for loaded "
                        "enhanced configuration to be applied to the MSR.");
  EXPECT_THAT(dialogs.titles,
              ElementsAre("Select the Desired Target MSR Configuration File (confirms)",
                          "Select the Desired MSR Configuration File"));
}

TEST_F(ConfigFileActionsTest, SaveAsksToEnableCustomConfiguration) {
  for (int answer : {answer::kNo, answer::kYes}) {
    messages.answers = {answer};
    Save("a.dat");
    bool yes = answer == answer::kYes;
    EXPECT_EQ(Content("a.dat").substr(28, 8), yes ? "5c%;+?\r\n" : "1c%;+?\r\n");
    EXPECT_EQ(store->IsChecked(id::kCustomConfiguration), yes);
  }
  EXPECT_EQ(messages.shown.front().caption, "Enable Custom Configuration?");
}

TEST_F(ConfigFileActionsTest, FailedSaveOrLoadIsReportedAndChangesNothing) {
  store->Click(id::kCustomConfiguration);
  fs::create_directory(Path("taken.dat"));
  for (const char* name : {"missing/a.dat", "taken.dat"}) {
    Save(name);
    EXPECT_EQ(Last(), "Error!: Error opening target configuration file.\nConfiguration not saved.");
  }
  EXPECT_TRUE(fs::is_directory(Path("taken.dat")));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1);

  // The other load failures' texts reach the unattended run's summary (see the app tests).
  store->Click(id::kTrack1);
  Load("MSR Configuration\r\n5c%;+?\r\n");
  EXPECT_EQ(Last(), "Error!: Bad configuration file header.");
  EXPECT_FALSE(store->IsChecked(id::kTrack1));  // nothing changed
}

// Before each load: wedge position, head wrapper "AB", CR track 2, enhanced Set disabled.
TEST_F(ConfigFileActionsTest, LoadsEachShapeOfFile) {
  const struct {
    const char* name;
    std::string content;
    const char* checks;  // head, tail | CR 1 to 3, capital | Alt, USA, custom table | custom, CR
    std::string wrappers;
  } cases[] = {
      {"lines 1 and 2 alone, capital hex", "Kestrel MSR Configuration File\n4C%;+?\n",
       "10 0100 010 10", "AB|"},
      {"custom configuration off: defaults, CR of the switch",
       "Zyr MSR Configuration File\r\n1c!!!!\r\n", "10 0100 010 01", "AB|"},
      {"a 14-character head excludes the tail",
       kEnhancedStart + "12H:0123456789ABCD\r\n12T:\r\n13:0F\r\n15:FF\r\n"s, "10 1111 001 10",
       "0123456789ABCD|"},
      {"small hex, \"15:\" alone", kEnhancedStart + "12H:\r\n12T:\\\\Z\r\n13:0f\r\n15:\r\n"s,
       "01 1111 010 10", "|\\\\Z"},
      {"a language without a box", kEnhancedStart + "12H:\r\n12T:\r\n13:00\r\n15:7\r\n"s,
       "00 0000 000 10", "|"},
      // Its rest takes the next line's place; the data exchange refuses the long text.
      {"an over-long wrapper line",
       kEnhancedStart + "12H:"s + std::string(60, 'x') + "\r\n12T:B\r\n13:0F\r\n15:00\r\n",
       "10 0100 010 10", std::string(55, 'x') + "|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open();
    store->SetCheck(id::kWedgeMode, true);
    store->SetCheck(id::kSerialMode, false);
    store->Click(id::kHeadWrapper);
    store->Type(id::kHeadText, "AB");
    store->Click(id::kCrTrack2);
    store->Enable(id::kEnhancedSet, false);
    messages.shown.clear();
    Load(c.content);
    EXPECT_EQ(Checks({id::kHeadWrapper, id::kTailWrapper}) + " " +
                  Checks({id::kCrTrack1, id::kCrTrack2, id::kCrTrack3, id::kCapitalMode}) + " " +
                  Checks({id::kAltNumPad, id::kUsa, id::kCustomTable}) + " " +
                  Checks({id::kCustomConfiguration, id::kCarriageReturn}),
              c.checks);
    EXPECT_EQ(Text(id::kHeadText) + "|" + Text(id::kTailText), c.wrappers);
    EXPECT_EQ(Enabled({id::kHeadText, id::kTailText}),
              Checks({id::kHeadWrapper, id::kTailWrapper}));
    bool enhanced = c.content.find("Enhanced") != std::string::npos;
    EXPECT_EQ(Enabled({id::kTrack1, id::kSetConfig, id::kEnhancedSet}),
              std::string(c.checks[12] == '1' ? "11" : "01") + (enhanced ? "1" : "0"));
    EXPECT_EQ(messages.shown.back().caption, "Configuration Loaded Successfully!");
    EXPECT_EQ(messages.shown.front().text, c.wrappers.size() > 50
                                               ? "Please enter no more than 14 characters."
                                               : messages.shown.back().text);
  }
}

// Fourteen "\ddd" escapes are a valid wrapper of 56 typed characters, more than one read
// of the wrapper line takes; the file keeps it in a form that fits.
TEST_F(ConfigFileActionsTest, LongEscapedWrapperSurvivesSaveAndLoad) {
  store->Click(id::kCustomConfiguration);
  store->Click(id::kHeadWrapper);
  for (int i = 0; i < 14; ++i) store->Type(id::kHeadText, "\\065");
  store->Click(id::kCrTrack1);
  Save("a.dat");
  Load(Content("a.dat"));
  EXPECT_EQ(Text(id::kHeadText), std::string(14, 'A'));
  EXPECT_EQ(Checks({id::kCrTrack1, id::kUsa}), "11");
}

}  // namespace
}  // namespace pelgar::ui
