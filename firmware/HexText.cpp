#include "firmware/HexText.h"

#include "device/CommandFrame.h"

namespace pelgar::firmware {

uint8_t HexPair(std::string_view text, size_t position) {
  return static_cast<uint8_t>(device::LeadingHexValue(text, position, 2));
}

uint16_t HexQuad(std::string_view text, size_t position) {
  return static_cast<uint16_t>(device::LeadingHexValue(text, position, 4));
}

}  // namespace pelgar::firmware
