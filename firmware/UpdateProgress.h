#pragma once

namespace pelgar::firmware {

// Where the ISP sequence shows how far programming has come: the update window's progress
// bar, over the addresses being programmed.
class UpdateProgress {
 public:
  virtual ~UpdateProgress() = default;
  virtual void SetRange(int low, int high) = 0;
  virtual void SetPosition(int position) = 0;
};

}  // namespace pelgar::firmware
