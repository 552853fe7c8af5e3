// A device session against a reader whose replies are the fuzzer's bytes, one line of the
// input per frame sent: claiming, the configuration record's positions, every enhanced
// query and setting, and the commit with its late acknowledgement.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "device/DeviceSession.h"
#include "fuzz/FuzzSupport.h"
#include "platform/VirtualClock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelgar;
  platform::VirtualClock clock;
  fuzz::FuzzedReplyPorts ports(std::string_view(reinterpret_cast<const char*>(data), size), clock);
  device::DeviceEnvironment env{ports, clock, fuzz::NullStream(), fuzz::NullStream()};
  auto session = device::ClaimReader(env, "3", 19200);
  if (session == nullptr) return 0;
  session->ReadConfiguration();
  session->GetDataWrapper();
  session->GetIndividualCR();
  session->GetWedgeMode();
  // Whatever the queries left in the fields is sent back, as a window would.
  session->SetDataWrapper();
  session->SetIndividualCR();
  session->SetWedgeMode();
  std::strcpy(session->default_codes.data(), "ab");
  std::strcpy(session->replacements.data(), "cd");
  session->SetCustomWedgeTable();
  session->ResetCustomWedgeEntry();
  session->SetConfiguration(1);
  session->CommitConfiguration();
  return 0;
}
