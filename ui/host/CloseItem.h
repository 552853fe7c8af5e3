#pragma once

namespace pelgar::ui {

// The Close item of the shown window's system menu, which also governs its close box.
class CloseItem {
 public:
  virtual ~CloseItem() = default;
  virtual void EnableClose(bool enabled) = 0;
};

}  // namespace pelgar::ui
