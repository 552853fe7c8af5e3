#pragma once

#include <string_view>

namespace pelgar::firmware {

// The messages the ISP sequence shows the user itself (the power-cycle prompt, a failed
// read-back): plain OK boxes with no caption of their own.
class PlainMessages {
 public:
  virtual ~PlainMessages() = default;
  virtual void ShowPlainMessage(std::string_view text) = 0;
};

}  // namespace pelgar::firmware
