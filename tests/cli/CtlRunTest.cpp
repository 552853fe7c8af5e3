// pelgarctl's commands on several in-process readers at once, each on a thread and a clock of
// its own: what each reader ends with, the exit status, and the JSON lines read back.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <tuple>

#include "cli/CtlCommandLine.h"
#include "cli/CtlRun.h"
#include "cli/SimWorlds.h"
#include "support/FirmwareImages.h"
#include "support/TestEnvironment.h"

namespace pelgar::cli {
namespace {

using sim::SlideSwitch;

class CtlRunTest : public ::testing::Test {
 protected:
  // pelgarctl with these arguments; its JSON lines (with -j) in `objects`.
  int Run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), "pelgarctl");
    std::vector<const char*> argv;
    argv.reserve(args.size());
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    out.str("");
    err.str("");
    objects.clear();
    int status = 0;
    std::optional<CtlRequest> request =
        ParseCtlCommandLine(static_cast<int>(argv.size()), argv.data(), out, err, &status);
    if (!request) return status;
    std::istringstream in(input);
    status = RunCtl(*request, worlds, in, out, err, false);
    if (request->json) {
      std::istringstream lines(out.str());
      for (std::string line; std::getline(lines, line);) {
        objects[nlohmann::json::parse(line)["port"]] = nlohmann::json::parse(line);
      }
    }
    return status;
  }

  platform::TempDir dir;
  SimWorlds worlds;
  std::ostringstream out, err;
  std::map<std::string, nlohmann::json> objects;
};

// The basic section and the enhanced one's header, before its lines.
const std::string kHeads =
    "Zyr MSR Configuration File\r\n5d%;+?\r\nZyr MSR Enhanced Configuration File\r\n";
const std::string kWrapped = kHeads + "12H:[\r\n12T:]\r\n13:0E\r\n15:01\r\n";

TEST_F(CtlRunTest, AnAbsentOrFaultyReaderOrARefusedFileFailsAlone) {
  worlds.Add("COM3", Reader(SlideSwitch::kWedge));
  worlds.Add("COM4", Reader(SlideSwitch::kSerial, "REV 2.10"));
  worlds.Add("COM6").faults().reject = true;
  EXPECT_EQ(Run({"-j", "-p", "COM3,COM5", "info"}), 1);
  EXPECT_EQ(objects["COM3"]["revision"], "REV 2.30");
  EXPECT_EQ(objects["COM3"]["switch"], "wedge");
  const std::string file = dir.Put("w.dat", kWrapped);
  EXPECT_EQ(Run({"-j", "-p", "COM3,COM4", "-p", "com5,COM6", "apply", file, "--verify"}), 1);
  ASSERT_EQ(objects.size(), 4u) << out.str();
  EXPECT_EQ(objects["COM3"]["result"], "ok");
  EXPECT_EQ(objects["COM3"]["verified"], true);
  EXPECT_EQ(objects["COM4"]["result"], "ok");
  EXPECT_EQ(objects["COM4"]["enhanced"], false);
  EXPECT_EQ(objects["COM5"]["result"], "failed");
  EXPECT_NE(objects["COM5"]["error"].get<std::string>().find("not claimed: "), std::string::npos);
  EXPECT_EQ(objects["COM6"]["result"], "failed");
  EXPECT_EQ(worlds.reader("COM3").state().head_wrapper, "[");
  EXPECT_EQ(worlds.reader("COM4").state().option_byte, 0x41);
  EXPECT_EQ(worlds.reader("COM4").state().head_wrapper, "");

  // A file pelgarctl refuses reaches no reader.
  const std::string bad = dir.Put("bad.dat", kHeads + "12H:0123456789\n12T:abcde\n");
  for (const char* port : {"COM3", "COM4"}) worlds.reader(port).ClearLog();
  EXPECT_EQ(Run({"-j", "-p", "COM3,COM4", "apply", bad}), 1);
  for (const char* port : {"COM3", "COM4"}) {
    EXPECT_EQ(objects[port]["result"], "failed");
    EXPECT_NE(objects[port]["error"].get<std::string>().find("the wrappers hold 10 and 5"),
              std::string::npos);
    EXPECT_TRUE(worlds.reader(port).received_frames().empty()) << port;
  }
}

// get on one reader and apply --verify on others clones it; a reader changed behind pelgarctl's
// back then differs, field by field.
TEST_F(CtlRunTest, CloneToThreeThenVerifyNamesWhatChanged) {
  sim::ReaderState golden = Reader(SlideSwitch::kWedge);
  golden.option_byte = 0xC3;  // custom configuration, tracks enabled
  golden.sentinels = {'!', '"', '#', '$'};
  golden.head_wrapper = "\\(";
  golden.tail_wrapper = ")";
  golden.cr_byte = 0x1A;
  golden.wedge_language = 0x00;
  golden.PowerUp();
  worlds.Add("COM3", golden);
  for (const char* port : {"COM4", "COM5", "COM6"}) worlds.Add(port, Reader(SlideSwitch::kWedge));
  ASSERT_EQ(Run({"-p", "COM3", "get", "-o", dir / "golden{port}.dat"}), 0) << err.str();
  const std::string file = dir / "goldenCOM3.dat";
  EXPECT_EQ(Run({"-p", "COM4,COM5,COM6", "apply", file, "--verify"}), 0) << err.str();
  auto settings = [](const sim::ReaderState& s) {
    return std::tuple(s.option_byte, s.sentinels, s.head_wrapper, s.tail_wrapper, s.cr_byte,
                      s.wedge_language);
  };
  for (const char* port : {"COM4", "COM5", "COM6"}) {
    EXPECT_EQ(settings(worlds.reader(port).state()), settings(golden)) << port;
  }

  // A reader without the enhanced settings gets the basic section alone.
  worlds.Add("COM7", Reader(SlideSwitch::kSerial, "REV 2.10"));
  EXPECT_EQ(Run({"-p", "COM7", "get"}), 0);
  EXPECT_EQ(out.str(), "Zyr MSR Configuration File\r\n1c%;+?\r\n");

  sim::ReaderState& changed = worlds.reader("COM5").state();
  changed.option_byte = changed.active_option_byte ^= 0x08;  // track 2 disabled
  changed.tail_wrapper = "}";
  EXPECT_EQ(Run({"-j", "-p", "COM4,COM5,COM6", "verify", file}), 3);
  EXPECT_EQ(objects["COM4"]["result"], "ok");
  EXPECT_EQ(objects["COM5"]["result"], "different");
  EXPECT_EQ(objects["COM5"]["differences"],
            nlohmann::json::parse(R"j([{"field":"track2_enabled","file":"on","reader":"off"},
                                      {"field":"tail_wrapper","file":")","reader":"}"}])j"));
  EXPECT_EQ(Run({"-q", "-p", "COM4,COM5", "verify", file}), 3);
  EXPECT_EQ(out.str(),
            "COM5: differs: track2_enabled: file \"on\", reader \"off\"\n"
            "COM5: differs: tail_wrapper: file \")\", reader \"}\"\n");
  // Sent as typed, the reply printed as it came: the wedge position.
  EXPECT_EQ(Run({"-p", "COM5", "send", ":0100001118D6"}), 0);
  EXPECT_EQ(out.str(), "COM5: :0100001118D6.:03000011001801D3\n");
}

// Family 1 readers ask to be power-cycled for the IPL option: at the end of the input they go
// on at once. Each reader ends with the image, read back. (The other dialect's steps: see the
// update window's test.)
TEST_F(CtlRunTest, FlashesSeveralReadersAtOnce) {
  const firmware::FirmwareImage image = testing::MakeImage("REV 1.31", 64, 32);
  const std::string file = dir.Put("new.hex", testing::ToHexText(image));
  for (const char* port : {"COM3", "COM4"})
    worlds.Add(port, Reader(SlideSwitch::kSerial, "REV 1.30"));
  EXPECT_EQ(Run({"-p", "COM3,COM4", "flash", file}), 0) << out.str() << err.str();
  for (const char* port : {"COM3", "COM4"}) {
    EXPECT_TRUE(std::equal(image.begin(), image.end(), worlds.reader(port).state().program.begin()))
        << port;
  }
  // The same revision again is refused, unless forced.
  EXPECT_EQ(Run({"-q", "-p", "COM3", "flash", file}), 1);
  EXPECT_NE(err.str().find("--force"), std::string::npos) << err.str();
  EXPECT_EQ(Run({"-q", "-p", "COM3", "flash", "--force", file}), 0) << err.str();
}

TEST_F(CtlRunTest, UsageErrorsSendNothing) {
  worlds.Add("COM3");
  const std::vector<std::vector<std::string>> rows = {
      {"info", "-b", "12345"},
      {"send", "0100001118D6"},
      {"send", ":01G0"},
      {"table", "set", "ab=c"},
      {"table", "set", "a=b", "c=d", "e=f", "g=h", "i=j", "k=l", "m=n", "o=p"},
      {"-p", "COM3,COM3/x", "info"},
      {"-p", "COM3,COM4", "get"},
      {"frobnicate"},
      {"table"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Run(row), 2) << row[0] << " " << row[1];
    EXPECT_NE(err.str().find("pelgarctl: "), std::string::npos) << err.str();
  }
  EXPECT_TRUE(worlds.reader("COM3").received_frames().empty());
  EXPECT_EQ(Run({"--version"}), 0);
  EXPECT_EQ(out.str(), "pelgarctl 1.32\n");
}

}  // namespace
}  // namespace pelgar::cli
