#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "firmware/RevisionCheck.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"

namespace pelgar::firmware {
namespace {

TEST(RevisionCheck, FileRevisionComesFromTheImage) {
  FirmwareImage image;
  image.fill(kNoCode);
  std::string revision;
  EXPECT_FALSE(VerifyFileRevision(image, revision));
  EXPECT_EQ(revision, std::string(8, '\xFF'));  // a missing byte is a character
  std::memcpy(&image[0x1FE0], "REV 2.30", 8);
  EXPECT_TRUE(VerifyFileRevision(image, revision));
  EXPECT_EQ(revision, "REV 2.30");
  image[0x1FE3] = 0;  // a zero byte adds nothing: the text closes up
  EXPECT_FALSE(VerifyFileRevision(image, revision));
  EXPECT_EQ(revision, "REV2.30");
}

TEST(RevisionCheck, DeviceRevisionComesFromTheConfigurationRecord) {
  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory line(reader, clock);
  UpdaterLink link(line, clock);
  ASSERT_TRUE(link.OpenPort("COM3", "19200"));
  std::string revision;
  reader.state().revision = "REV 3.07";
  EXPECT_TRUE(ReadDeviceRevision(link, revision));
  EXPECT_EQ(revision, "REV 3.07");
  reader.state().revision = "RE";
  EXPECT_FALSE(ReadDeviceRevision(link, revision));
  reader.faults().reject = true;
  EXPECT_FALSE(ReadDeviceRevision(link, revision));
}

TEST(RevisionCheck, ComparesAsStringsWithinTheFamily) {
  using enum RevisionComparison;
  const std::tuple<const char*, RevisionComparison, int> cases[] = {
      {"REV 2.31", kUpgrade, 2},     {"REV 2.30", kSameOrOlder, 2},
      {"REV 2.29", kSameOrOlder, 2}, {"REV 1.50", kUnsupported, 1},
      {"REV 3.99", kUnsupported, 3}, {"REV 2.3", kSameOrOlder, 2},  // a prefix is older
      {"REV 2.3\xFF", kUpgrade, 2},                                 // bytes compare unsigned
      {"REV 0.31", kUnsupported, 0}, {"REV A.30", kUnsupported, 0},
      {"REV ", kUnsupported, 0},
  };
  for (auto [file, comparison, family] : cases) {
    SCOPED_TRACE(file);
    EXPECT_EQ(CompareRevisions(file, "REV 2.30"), comparison);
    EXPECT_EQ(FirmwareFamily(file), family);
  }
}

}  // namespace
}  // namespace pelgar::firmware
