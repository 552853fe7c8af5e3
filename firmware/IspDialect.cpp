#include "firmware/IspDialect.h"

#include <algorithm>
#include <iterator>

#include "device/PortText.h"

namespace pelgar::firmware {
namespace {

using device::kBaud19200;
using device::kBaud9600;

constexpr std::string_view kSetup1[] = {":010000020BF2", ":020000050701F1", ":020000050702F0"};
constexpr std::string_view kIplOption1[] = {":020000030400", ":030000030601FC", ":030000030600FF"};

// One row per firmware family, taken from how that family's ISP ROM answers on the line;
// pelgar-sim's ISP side answers the same way, and the update tests hold every frame to it.
// clang-format off
constexpr IspDialect kDialects[] = {
    // family  baud              setup    IPL option   erase all        erase high         pages  twice  resend
    {1,       kBaud9600.value,  kSetup1, kIplOption1, ":0100000307F5", ":020000030C30BF", false, true,  false},
    {2,       kBaud19200.value, {},      {},          ":0100000301FB", {},                true,  false, true},
    {3,       kBaud19200.value, {},      {},          ":0100000301FB", {},                true,  false, true},
};
// clang-format on

}  // namespace

const IspDialect* IspDialectOf(int family) {
  const auto* row = std::find_if(std::begin(kDialects), std::end(kDialects),
                                 [family](const IspDialect& d) { return d.family == family; });
  return row == std::end(kDialects) ? nullptr : row;
}

}  // namespace pelgar::firmware
