// The firmware update's conversation against a reader whose replies are the fuzzer's
// bytes, one line of the input per frame sent: the device revision from the configuration
// record, then the ISP steps in the window's order up to the read-back of every line.
// The first byte picks the image's family.
#include <algorithm>
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

namespace {

using namespace pelgar::firmware;

struct QuietWindow : PlainMessages, UpdateProgress {
  void ShowPlainMessage(std::string_view) override {}
  void SetRange(int, int) override {}
  void SetPosition(int) override {}
};

// Two lines of code at the bottom of each region and the revision: few lines to program,
// both regions in play.
FirmwareImage MakeImage(char family) {
  FirmwareImage image;
  image.fill(kNoCode);
  for (size_t i = 0; i < 32; ++i) {
    image[i] = static_cast<uint8_t>(i);
    image[IspSequence::kHighStart + i] = static_cast<uint8_t>(i * 3);
  }
  const std::string revision = std::string("REV ") + family + ".31";
  std::copy(revision.begin(), revision.end(), image.begin() + kRevisionAddress);
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char family = static_cast<char>('1' + data[0] % 3);
  pelgar::platform::VirtualClock clock;
  pelgar::fuzz::FuzzedReplyPorts ports(
      std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1), clock);
  UpdaterLink link(ports, clock);
  if (!link.OpenPort("COM3", "19200")) return 0;

  const FirmwareImage image = MakeImage(family);
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
