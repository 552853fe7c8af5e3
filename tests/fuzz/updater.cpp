// The firmware update's conversation against a reader whose replies are the fuzzer's
// bytes, one line of the input per frame sent: the device revision from the configuration
// record, then the ISP steps in the window's order up to the read-back of every line.
// The first byte picks the image's family.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "firmware/FirmwareImage.h"
#include "firmware/IspSequence.h"
#include "firmware/RevisionCheck.h"
#include "firmware/UpdaterLink.h"
#include "fuzz/FuzzSupport.h"
#include "platform/VirtualClock.h"
#include "support/FirmwareImages.h"

namespace {

using namespace pelgar::firmware;

struct QuietWindow : PlainMessages, UpdateProgress {
  void ShowPlainMessage(std::string_view) override {}
  void SetRange(int, int) override {}
  void SetPosition(int) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char family = static_cast<char>('1' + data[0] % 3);
  pelgar::platform::VirtualClock clock;
  pelgar::fuzz::FuzzedReplyPorts ports(
      std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), clock);
  UpdaterLink link(ports, clock);
  if (!link.OpenPort("COM3", "19200")) return 0;

  // Two lines of code in each region: few lines to program, both regions in play.
  const FirmwareImage image =
      pelgar::testing::MakeImage(std::string("REV ") + family + ".31", 32, 32);
  std::string file_revision;
  std::string device_revision;
  if (!VerifyFileRevision(image, file_revision)) __builtin_trap();
  if (ReadDeviceRevision(link, device_revision)) {
    CompareRevisions(file_revision, device_revision);
  }

  QuietWindow window;
  IspSequence isp(link, window, pelgar::fuzz::NullStream());
  isp.AnalyseImage(image, file_revision);
  FirmwareImage read_back;
  read_back.fill(kNoCode);
  (void)(isp.EnterIspSetup() && isp.SetIplOption() && isp.EraseFirmware() &&
         isp.ProgramAndVerify(image, read_back, window) && isp.ExitIsp());
  link.ClosePort();
  return 0;
}
