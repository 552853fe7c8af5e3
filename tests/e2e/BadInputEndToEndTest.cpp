// Bad input to the unattended runs, as a new user or a script author types it, over the real
// executables against pelgar-sim: every run ends in time, with its exit status and its cause
// on standard error, and the reader receives only what was meant to reach it.
#include <sys/stat.h>

#include <random>

#include "e2e/EndToEndTest.h"
#include "version.h"

namespace pelgar::e2e {
namespace {

// Every run, a named pipe's included, ends within this many real milliseconds: one that does
// not is killed, and its status is a signal's.
constexpr int kBoundMs = 5'000;

const std::string kHeader = "Zyr MSR Configuration File\r\n";
const std::string kEnhanced = kHeader + "5c%;+?\r\nZyr MSR Enhanced Configuration File\r\n";
const std::string kCountdown = "This window will close in 5 seconds....";
const std::string kFileError = "There was an error found during MSR Configuration update.";
const std::string kNotClaimed = "The MSR has not been claimed by the application.";
const std::string kUpdated = "MSR Configuration is updated successfully.";
const std::string kHint =
    "pelgar: fields are separated by commas, without blanks: pelgar FILE.DAT,COM3,19200";

// What the run does: refused at once (no countdown, nothing sent), not claimed (nothing
// sent), nothing written to the reader, the basic configuration alone written (Set Config
// and its commit), or that and the enhanced Set.
enum class Reaches { kRefused, kUnclaimed, kNoChange, kBasic, kAll };
using enum Reaches;

struct Row {
  // pelgar's arguments, or pelgar-sim's after "pelgar-sim", separated by "|"; leading
  // NAME=VALUE words are set in the program's environment, which has no display.
  std::string args;
  int status;
  Reaches reaches;
  std::string out;             // in standard output; none at all for a refused run
  std::string err = "";        // standard error's lines, each holding its line of this text
  std::string sim_trace = "";  // in pelgar-sim's trace of this run
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; std::getline(in, word, separator);) words.push_back(word);
  return words;
}

class BadInputEndToEndTest : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    ASSERT_EQ(mkfifo((dir_ + "/pipe.dat").c_str(), 0600), 0);
    std::filesystem::create_directory(dir_ + "/folder.dat");
    std::mt19937 random(18);  // NOLINT(cert-msc32-c,cert-msc51-cpp): a failure must replay
    std::string garbage(10 << 20, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    // The command line is read in capitals, but the file system tells case apart: a name is
    // opened as typed, else in capitals.
    temp_.Put("10MB-GARBAGE.DAT", garbage);
    temp_.Put("LENIENT.DAT", "");
    temp_.Put("bad-escape.dat", kEnhanced + "12H:AB\\999\r\n12T:\r\n13:0F\r\n15:01\r\n");
    temp_.Put("lenient.dat", kHeader +
                                 "ZZ%;+?\r\nZyr MSR Enhanced Configuration File\r\n12H:\r\n12T:\r\n"
                                 "13:ZZ\r\n15:ZZ\r\nan eighth line\r\n");
    temp_.Put("bad.state", "option_byte 40\nsentinels 25 3B\n");
    // COM5 names a device that is not there.
    std::filesystem::create_directories(dir_ + "/ports");
    std::filesystem::create_symlink(dir_ + "/unplugged", dir_ + "/ports/COM5");
  }
};

// Every bad input a run can be given, grouped by where it is caught: the command line, the
// port, the file, the file's lines; then the forms every tool answers. (Each message's whole
// text: see the tests of the layer that makes it.)
TEST_F(BadInputEndToEndTest, EachEndsInTimeWithItsCauseAndSendsOnlyWhatItMeant) {
  const std::string no_window =
      "pelgar: cannot open the desktop window: no display\nApply a configuration without it";
  const Row rows[] = {
      // Too long for its field (each field's limit: see the command line's test): refused
      // before the reader is claimed.
      {"/C:" + std::string(60, '0') + ",COM3", 1, kRefused, "",
       "pelgar: the command frame is longer than 49 characters"},
      // A port with no device, the usual Unix forms: one line for all ten tries.
      {"lenient.dat,COM5", 1, kUnclaimed, kNotClaimed,
       "/ports/COM5: no such device (see PELGAR_PORT_DIR); tried 10 times"},
      {"lenient.dat,|COM3", 1, kUnclaimed, kNotClaimed,
       "MSR not claimed: COMM3: no device is configured for this port; tried 10 times\n" + kHint},
      {"none.dat|COM3|19200", 1, kNoChange, kFileError,
       "pelgar: none.dat COM3 19200: no such file\n" + kHint},
      // Files that cannot be read: one that would block a reader, a folder, one too big to be
      // a configuration file.
      {"pipe.dat,COM3", 1, kNoChange, kFileError, "pelgar: pipe.dat: not a regular file"},
      {"folder.dat", 1, kNoChange, kFileError, "pelgar: folder.dat: is a folder"},
      {"10mb-garbage.dat", 1, kNoChange, kFileError, "pelgar: 10MB-GARBAGE.DAT: line 1 has no"},
      // Taken in part: the basic configuration is stored, and what was not is said.
      {"bad-escape.dat", 1, kBasic, kFileError,
       "pelgar: bad-escape.dat: basic configuration stored; enhanced settings not sent: line 4"},
      // Read leniently, and said so.
      {"lenient.dat", 0, kAll, kUpdated,
       "lenient.dat: line 2: \nlenient.dat: line 6: \nlenient.dat: line 7: \nlenient.dat: line 8"},
      // Garbage on the wire: the reader's trace shows it. (A frame in small letters, sent in
      // capitals: see the unattended run's test.)
      {"/C:ZZ,COM3", 1, kNoChange, "Error processing the command.", "", "] <- unparsed :ZZ\n"},
      // As every command-line tool answers them; the unattended form ends with the countdown.
      {"--help", 0, kRefused, "2: no arguments and no display"},
      {"--version", 0, kRefused, "pelgar " + std::string(kVersion) + "\n"},
      {"HELP", 1, kUnclaimed, "About Unattended Mode\n\nMSR Configuration Utility v"},
      // No arguments asks for the window: without a display, its cause and status 2 instead
      // of the toolkit's abort, whether no display is named or the named one is not there.
      {"", 2, kRefused, "", no_window},
      {"DISPLAY=:97", 2, kRefused, "", no_window},
      {"pelgar-sim|--version", 0, kRefused, "pelgar-sim " + std::string(kVersion) + "\n"},
      {"pelgar-sim|--help", 0, kRefused, "usage: pelgar-sim --port COMn"},
      // A simulator that cannot start says why, and makes no port.
      {"pelgar-sim|--port|COM4|--state|bad.state", 2, kRefused, "",
       "bad.state line 2: expected 4 byte(s)"},
  };
  ASSERT_TRUE(StartSim({"--trace"})) << sim_->Errors();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args.substr(0, 40));
    const std::string sim_before = sim_->Output();
    std::vector<std::string> argv{
        "env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM"};
    std::vector<std::string> words = Split(row.args, '|');
    auto word = words.begin();
    for (; word != words.end() && word->find('=') != std::string::npos; ++word) {
      argv.push_back(*word);
    }
    const bool sim_row = word != words.end() && *word == "pelgar-sim";
    argv.emplace_back(sim_row ? PELGAR_SIM_EXE : PELGAR_EXE);
    argv.insert(argv.end(), word + (sim_row ? 1 : 0), words.end());
    Subprocess program(argv, dir_, "run");
    EXPECT_EQ(program.Wait(kBoundMs), row.status) << program.Errors();

    const std::vector<std::string> err = Split(program.Errors(), '\n');
    const std::vector<std::string> expected = Split(row.err, '\n');
    EXPECT_EQ(err.size(), expected.size()) << program.Errors();
    for (size_t i = 0; i < std::min(err.size(), expected.size()); ++i) {
      EXPECT_NE(err[i].find(expected[i]), std::string::npos) << err[i];
    }
    const std::string out = program.Output();
    EXPECT_NE(out.find(row.out), std::string::npos) << out;
    EXPECT_TRUE(!row.out.empty() || out.empty()) << out;
    EXPECT_EQ(out.find(kCountdown) != std::string::npos, row.reaches != kRefused);

    // What the reader received during this run.
    const std::string sim_trace = sim_->Output().substr(sim_before.size());
    const std::vector<std::string> writes = Writes(Frames(sim_trace, "] <- "));
    EXPECT_TRUE(row.reaches > kUnclaimed || sim_trace.empty()) << sim_trace;
    EXPECT_TRUE(row.reaches != kNoChange || writes.empty()) << sim_trace;
    EXPECT_TRUE(row.reaches != kBasic || writes.size() == 2) << sim_trace;
    EXPECT_TRUE(row.reaches != kAll || writes.size() > 2) << sim_trace;
    if (writes.size() >= 2) {  // Set Config to flash, then its commit
      EXPECT_EQ(writes[0].substr(0, 11) + writes[1], ":0600001101:0100001109E5");
    }
    EXPECT_NE(sim_trace.find(row.sim_trace), std::string::npos) << sim_trace;
  }
}

}  // namespace
}  // namespace pelgar::e2e
