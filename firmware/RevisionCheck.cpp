#include "firmware/RevisionCheck.h"

#include "device/CommandFrame.h"
#include "device/Exchange.h"
#include "device/ReaderFrames.h"

namespace pelgar::firmware {
namespace {

// "REV " and the family digit must match for a file to suit a reader.
constexpr size_t kFamilyPrefixLength = 5;
constexpr size_t kFamilyPosition = 4;

bool ExchangeAcknowledged(UpdaterLink& link, std::string_view command, std::span<char> reply) {
  reply[0] = '\0';
  return link.Exchange(command, reply) && device::AcknowledgedAt(reply, command.size());
}

}  // namespace

bool VerifyFileRevision(const FirmwareImage& image, std::string& file_revision) {
  file_revision.clear();
  for (size_t i = 0; i < kRevisionLength; ++i) {
    uint8_t byte = image[kRevisionAddress + i];
    if (byte != 0) file_revision.push_back(static_cast<char>(byte));
  }
  return file_revision.starts_with(kRevisionPrefix);
}

bool ReadDeviceRevision(UpdaterLink& link, std::string& device_revision) {
  if (!link.port_open()) return false;
  char reply[device::kReplySize];
  if (!ExchangeAcknowledged(link, device::kEnterCommandMode, reply)) return false;
  if (!ExchangeAcknowledged(link, device::kGetConfiguration, reply)) return false;
  // Read as the device session reads it; digits the reply did not bring decode as zero
  // bytes, which end the text.
  device_revision.clear();
  for (size_t i = 0; i < kRevisionLength; ++i) {
    uint8_t byte = device::ReplyByte(reply, device::kRevisionReplyPosition + 2 * i);
    if (byte == 0) break;
    device_revision.push_back(static_cast<char>(byte));
  }
  if (!ExchangeAcknowledged(link, device::kRestoreFunctionalMode, reply)) return false;
  return device_revision.starts_with(kRevisionPrefix);
}

RevisionComparison CompareRevisions(std::string_view file_revision,
                                    std::string_view device_revision) {
  if (file_revision.substr(0, kFamilyPrefixLength) !=
      device_revision.substr(0, kFamilyPrefixLength)) {
    return RevisionComparison::kUnsupported;
  }
  // char_traits<char> orders as unsigned char, so 0xFF (a missing byte) sorts last.
  if (file_revision <= device_revision) return RevisionComparison::kSameOrOlder;
  return RevisionComparison::kUpgrade;
}

int FirmwareFamily(std::string_view file_revision) {
  if (file_revision.size() <= kFamilyPosition) return 0;
  char digit = file_revision[kFamilyPosition];
  return digit >= '1' && digit <= '3' ? digit - '0' : 0;
}

}  // namespace pelgar::firmware
