#pragma once

#include <string_view>

namespace pelgar::firmware {

// The messages the ISP sequence shows the user itself (the power-cycle prompt, a failed
// read-back): plain OK boxes with no caption of their own.
class PlainMessages {
 public:
  virtual ~PlainMessages() = default;
  virtual void ShowPlainMessage(std::string_view text) = 0;
  // The request to power-cycle the reader, which the update waits on: the window's OK box
  // like any other message, a line of standard input for pelgarctl.
  virtual void AskToPowerCycle(std::string_view text) { ShowPlainMessage(text); }
};

}  // namespace pelgar::firmware
