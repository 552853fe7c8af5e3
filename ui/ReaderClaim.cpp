#include "ui/ReaderClaim.h"

#include "device/PortText.h"

namespace pelgar::ui {

std::unique_ptr<device::DeviceSession> ClaimOrReport(device::DeviceEnvironment& env,
                                                     MessageOutput& messages,
                                                     const PortTexts& texts) {
  auto session = device::ClaimReader(env, device::PortIdOf(texts.port), device::BaudOf(texts.baud));
  if (!session) messages.ShowMessage(kNotClaimedMessage, kErrorCaption, box::kOk);
  return session;
}

}  // namespace pelgar::ui
