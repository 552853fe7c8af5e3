#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "device/ReaderFrames.h"
#include "firmware/FirmwareImage.h"
#include "firmware/UpdaterLink.h"

namespace pelgar::firmware {

// A revision reads "REV " and the version ("REV 2.30"); the character after "REV " is the
// firmware family, which picks the programming dialect.
inline constexpr std::string_view kRevisionPrefix = "REV ";
inline constexpr size_t kRevisionLength = device::kRevisionLength;
// Where the image carries its revision text.
inline constexpr size_t kRevisionAddress = 0x1FE0;

enum class RevisionComparison {
  kUpgrade,
  kSameOrOlder,  // the reader already has identical or newer firmware
  kUnsupported,  // another family: the file is not for this reader
};

// The file revision from the eight image bytes at 0x1FE0: a zero byte adds nothing, a
// missing byte (0xFF) adds the character 0xFF. True when it begins with "REV ".
bool VerifyFileRevision(const FirmwareImage& image, std::string& file_revision);

// Enter command mode, read the configuration record, restore functional mode; the revision
// is the eight bytes at reply positions 37 to 52, up to the first zero byte. True when
// every command was acknowledged and the revision begins with "REV ".
bool ReadDeviceRevision(UpdaterLink& link, std::string& device_revision);

RevisionComparison CompareRevisions(std::string_view file_revision,
                                    std::string_view device_revision);

// 1, 2 or 3 from the file revision's family digit; 0 for anything else.
int FirmwareFamily(std::string_view file_revision);

}  // namespace pelgar::firmware
