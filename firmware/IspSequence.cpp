#include "firmware/IspSequence.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "device/CommandFrame.h"
#include "device/Exchange.h"
#include "device/ReaderFrames.h"
#include "firmware/HexText.h"
#include "firmware/RevisionCheck.h"

namespace pelgar::firmware {
namespace {

constexpr std::string_view kSwitchToIsp = ":0100001107E7";
constexpr std::string_view kExitIsp = ":0100001100EE";
constexpr std::string_view kNoCodeMessage = "No Firmware Code exist inside Intel hex file";
constexpr std::string_view kUnplugMessage =
    "Please unplug/plug the MSR to enter ISP ROM mode.\nAnd press 'OK' button to continue "
    "flashing.";
constexpr std::string_view kVerifyFailed = "VERIFY FAILED!!!!";

// Where the read-back reply carries the reported address and the line's bytes.
constexpr size_t kReportedAddressPosition = 23;
constexpr size_t kReadBackDataPosition = 28;

bool AnyCode(const FirmwareImage& image, size_t first, size_t last) {
  return std::any_of(image.begin() + static_cast<std::ptrdiff_t>(first),
                     image.begin() + static_cast<std::ptrdiff_t>(last) + 1,
                     [](uint8_t byte) { return byte != kNoCode; });
}

}  // namespace

void IspSequence::AnalyseImage(const FirmwareImage& image, std::string_view file_revision) {
  low_region_ = AnyCode(image, kLowStart, kLowEnd);
  high_region_ = AnyCode(image, kHighStart, kHighEnd);
  start_ = !low_region_ && high_region_ ? kHighStart : kLowStart;
  end_ = low_region_ && !high_region_ ? kLowEnd : kHighEnd;
  dialect_ = IspDialectOf(FirmwareFamily(file_revision));
}

bool IspSequence::EnterIspSetup() {
  if (!link_.port_open()) return false;
  link_.clock().SleepMs(kBeforeSetupCommandMs);
  if (!ExchangeAcknowledged(device::kEnterCommandMode)) return false;
  link_.clock().SleepMs(kBeforeSetupCommandMs);
  if (!ExchangeAcknowledged(kSwitchToIsp)) return false;
  link_.clock().SleepMs(kAfterIspSwitchMs);
  if (dialect_ == nullptr || !link_.SetBaudAndSync(dialect_->baud)) return false;
  for (std::string_view command : dialect_->setup) {
    if (!ExchangeAnswered(command)) return false;
  }
  return true;
}

bool IspSequence::SetIplOption() {
  if (!link_.port_open() || dialect_ == nullptr) return false;
  const bool boots_low = dialect_->ipl_option.empty();
  if (boots_low && !low_region_) {
    messages_.ShowPlainMessage(kNoCodeMessage);
    return false;
  }
  link_.clock().SleepMs(kBeforeIplOptionMs);
  if (boots_low) return true;
  for (std::string_view command : dialect_->ipl_option) {
    if (!ExchangeAnswered(command)) return false;
  }
  // The option takes effect when the reader starts again: the user power-cycles it while
  // the port stays open, and the ROM wants its setup once more.
  messages_.AskToPowerCycle(kUnplugMessage);
  link_.clock().SleepMs(kAfterIplStepMs);
  if (!ExchangeAnswered(dialect_->setup.front())) return false;
  link_.clock().SleepMs(kAfterIplStepMs);
  for (std::string_view command : dialect_->setup.subspan(1)) {
    if (!ExchangeAnswered(command)) return false;
  }
  return true;
}

bool IspSequence::EraseFirmware() {
  if (dialect_ == nullptr) return false;
  bool erased = false;
  if (high_region_ && !low_region_) {
    // Where the reader boots from the low region there is nothing to boot: the option step
    // has refused, and so does the erase.
    erased = !dialect_->erase_high.empty() && ExchangeAcknowledged(dialect_->erase_high);
  } else if (!high_region_ && dialect_->erase_low_by_pages) {
    erased = PageErase();
  } else {
    erased = ExchangeAcknowledged(dialect_->erase_all);
  }
  if (erased) link_.clock().SleepMs(kAfterEraseMs);
  return erased;
}

bool IspSequence::PageErase() {
  for (uint32_t address = start_; address < end_; address += kPageSize) {
    char command[24];
    std::snprintf(command, sizeof command, ":0300000308%04X", static_cast<unsigned>(address));
    if (!ExchangeAcknowledged(device::WithChecksum(command, device::HexCase::kCapital))) {
      return false;
    }
  }
  return true;
}

bool IspSequence::ProgramAndVerify(const FirmwareImage& image, FirmwareImage& read_back,
                                   UpdateProgress& progress) {
  if (dialect_ == nullptr) return false;
  progress.SetRange(start_, end_);
  progress.SetPosition(start_);
  for (uint32_t address = start_; address < end_; address += kLineSize) {
    progress.SetPosition(static_cast<int>(address));
    const auto line = static_cast<uint16_t>(address);
    if (!AnyCode(image, line, line + kLineSize - 1u)) continue;
    if (!ProgramLine(image, line)) return false;
    if (!VerifyLine(image, read_back, line)) return false;
  }
  return true;
}

bool IspSequence::ProgramLine(const FirmwareImage& image, uint16_t address) {
  char text[8];
  std::string record = ":10";
  std::snprintf(text, sizeof text, "%04X00", address);
  record += text;
  for (size_t k = 0; k < kLineSize; ++k) {
    std::snprintf(text, sizeof text, "%02X", image[address + k]);
    record += text;
  }
  record = device::WithChecksum(record, device::HexCase::kCapital);

  char reply[kProgramReplySize];
  const size_t count = record.size() + kDataReplyExtra;
  if (!link_.CountedExchange(record, reply, count)) {
    if (dialect_->resend_silent_record) link_.CountedExchange(record, reply, count);
    err_ << "No reply to the data record: " << record << std::endl;
    return false;
  }
  if (dialect_->record_twice && !link_.CountedExchange(record, reply, count)) return false;
  if (!device::AcknowledgedAt(reply, record.size())) {
    err_ << "The data record was not acknowledged: " << record << std::endl;
    return false;
  }
  return true;
}

bool IspSequence::VerifyLine(const FirmwareImage& image, FirmwareImage& read_back,
                             uint16_t address) {
  char command[32];
  std::snprintf(command, sizeof command, ":05000004%04X%04X00", address,
                static_cast<unsigned>(address + kLineSize - 1));
  // The read-back command ends in one "U" after its checksum.
  std::string text = device::WithChecksum(command, device::HexCase::kCapital) + 'U';

  char reply[kProgramReplySize];
  if (!link_.CountedExchange(text, reply, text.size() + kReadBackReplyExtra)) return false;
  std::string_view answer = device::ReplyText(reply);
  const uint16_t reported = HexQuad(answer, kReportedAddressPosition);
  // A reported line that is not the one asked for (or would run past the images) has
  // verified nothing; comparing it would pass an unread line as good.
  if (reported != address || reported + kLineSize - 1u > kLastAddress) {
    std::snprintf(command, sizeof command, "%04X reported %04X", address, reported);
    err_ << "Read-back of line " << command << std::endl;
    messages_.ShowPlainMessage(kVerifyFailed);
    return false;
  }
  for (size_t k = 0; k < kLineSize; ++k) {
    const uint8_t byte = HexPair(answer, kReadBackDataPosition + 2 * k);
    read_back[reported + k] = byte;
    if (byte != image[reported + k]) {
      char message[48];
      std::snprintf(message, sizeof message, "Address:%04X\nF:%02x\nR:%02x",
                    static_cast<unsigned>(reported + k), image[reported + k], byte);
      messages_.ShowPlainMessage(message);
      messages_.ShowPlainMessage(kVerifyFailed);
      return false;
    }
  }
  return true;
}

bool IspSequence::ExitIsp() {
  if (!link_.port_open()) return false;
  return ExchangeAnswered(kExitIsp);
}

bool IspSequence::ExchangeAcknowledged(std::string_view command) {
  char reply[device::kReplySize];
  return link_.Exchange(command, reply) && device::AcknowledgedAt(reply, command.size());
}

bool IspSequence::ExchangeAnswered(std::string_view command) {
  char reply[device::kReplySize];
  return link_.Exchange(command, reply);
}

}  // namespace pelgar::firmware
