#include "ui/ReaderClaim.h"

#include "device/PortText.h"

namespace pelgar::ui {

std::string NotClaimedMessage(const device::ClaimFailure& failure) {
  return std::string(kNotClaimedMessage) + "\n\n" + failure.Text();
}

std::unique_ptr<device::DeviceSession> ClaimOrReport(device::DeviceEnvironment& env,
                                                     MessageOutput& messages,
                                                     const PortTexts& texts,
                                                     device::ClaimFailure* failure) {
  device::ClaimFailure why;
  auto session =
      device::ClaimReader(env, device::PortIdOf(texts.port), device::BaudOf(texts.baud), &why);
  if (!session) messages.ShowMessage(NotClaimedMessage(why), kErrorCaption, box::kOk);
  if (failure != nullptr) *failure = std::move(why);
  return session;
}

}  // namespace pelgar::ui
