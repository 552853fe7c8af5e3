#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "firmware/FirmwareImage.h"
#include "firmware/IspDialect.h"
#include "firmware/PlainMessages.h"
#include "firmware/UpdateProgress.h"
#include "firmware/UpdaterLink.h"

namespace pelgar::firmware {

// Replaces the reader's program memory through its in-system programming mode, in the
// dialect of the image's family (see IspDialect). The update window calls the steps in
// order and stops at the first that fails; none succeeds for a family without a dialect.
class IspSequence {
 public:
  // Regions of program memory as the reader's flash divides it.
  static constexpr uint16_t kLowStart = 0x0000;
  static constexpr uint16_t kHighStart = 0x3000;
  static constexpr uint16_t kLowEnd = 0x2FFF;
  static constexpr uint16_t kHighEnd = 0x3FFF;
  static constexpr uint16_t kLineSize = 16;
  static constexpr uint16_t kPageSize = 128;

  // Waits, in one place.
  static constexpr int64_t kBeforeSetupCommandMs = 100;
  static constexpr int64_t kAfterIspSwitchMs = 1500;
  static constexpr int64_t kBeforeIplOptionMs = 1000;
  static constexpr int64_t kAfterIplStepMs = 100;
  static constexpr int64_t kAfterEraseMs = 600;

  // Reply buffers of the programming step, and what each counted read asks for beyond the
  // command itself.
  static constexpr size_t kProgramReplySize = 500;
  static constexpr size_t kDataReplyExtra = 2;
  static constexpr size_t kReadBackReplyExtra = 39;

  IspSequence(UpdaterLink& link, PlainMessages& messages, std::ostream& err)
      : link_(link), messages_(messages), err_(err) {}

  // Region flags, programming range and dialect, afresh from this update's image.
  void AnalyseImage(const FirmwareImage& image, std::string_view file_revision);
  bool EnterIspSetup();
  bool SetIplOption();
  bool EraseFirmware();
  // Programs every line that holds code and reads it back into `read_back`, moving the
  // progress over the range.
  bool ProgramAndVerify(const FirmwareImage& image, FirmwareImage& read_back,
                        UpdateProgress& progress);
  bool ExitIsp();

  bool high_region() const { return high_region_; }

 private:
  bool ExchangeAcknowledged(std::string_view command);
  bool ExchangeAnswered(std::string_view command);
  bool PageErase();
  bool ProgramLine(const FirmwareImage& image, uint16_t address);
  bool VerifyLine(const FirmwareImage& image, FirmwareImage& read_back, uint16_t address);

  UpdaterLink& link_;
  PlainMessages& messages_;
  std::ostream& err_;

  bool low_region_ = false;
  bool high_region_ = false;
  uint16_t start_ = kLowStart;
  uint16_t end_ = kHighEnd;
  const IspDialect* dialect_ = nullptr;
};

}  // namespace pelgar::firmware
