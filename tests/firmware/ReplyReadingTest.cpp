// The device session and the firmware updater read the same configuration reply, each
// from its own code; both must take the leading hex digits of a pair only.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "device/DeviceSession.h"
#include "firmware/RevisionCheck.h"
#include "platform/VirtualClock.h"
#include "sim/InProcessPort.h"
#include "sim/SimulatedReader.h"
#include "support/RecordingPorts.h"

namespace pelgar::firmware {
namespace {

TEST(ReplyReading, SessionAndUpdaterTakeLeadingHexDigitsOnly) {
  platform::VirtualClock clock;
  sim::SimulatedReader reader;
  sim::InProcessPortFactory line{reader, clock};
  pelgar::testing::RecordingPorts ports{line};
  ports.canned_frame = ":020000110200EB";
  // Echo, "." at 15, filler to 26; option byte at 27, sentinels at 29, 31, 33, 35; the
  // revision from 37: "REV 2.3" and a blank-led pair.
  const std::string head = ports.canned_frame + "." + std::string(11, '0');
  ports.canned_reply = head + " 1" + "-1" + "+1" + "1G" + "3f" + "52455620322E33" + " 1";

  std::ostringstream out, err;
  device::DeviceEnvironment env{ports, clock, out, err};
  {
    device::DeviceSession session(env, "3", 19200);
    ASSERT_EQ(session.claimed, 1) << err.str();
    // " 1" reads 0: no carriage return, the track bits clear (tracks enabled).
    EXPECT_EQ(std::to_string(session.carriage_return) + std::to_string(session.track1_enabled),
              "01");
    EXPECT_EQ(session.sentinels, (std::array<uint8_t, 4>{0x00, 0x00, 0x01, 0x3F}));
    EXPECT_EQ(std::string(session.revision.data(), 8), std::string("REV 2.3\0", 8));
  }
  UpdaterLink link{ports, clock};
  ASSERT_TRUE(link.OpenPort("COM3", "19200"));
  std::string revision;
  EXPECT_TRUE(ReadDeviceRevision(link, revision));
  EXPECT_EQ(revision, "REV 2.3");
  link.ClosePort();

  // A reply that ends before the revision: the missing pairs read as zero bytes.
  ports.canned_reply = head + "00253B2B3F";
  device::DeviceSession short_session(env, "3", 19200);
  EXPECT_EQ(std::string(short_session.revision.data()), "");
  EXPECT_EQ(short_session.sentinels[3], 0x3F);
}

}  // namespace
}  // namespace pelgar::firmware
