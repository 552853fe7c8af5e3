#pragma once

#include <string_view>

namespace pelgar::testing {

// What a user does to an open dialog, as each host can play it.
class ContractUser {
 public:
  virtual ~ContractUser() = default;
  virtual void Click(int id) = 0;
  virtual void Type(int id, std::string_view chars) = 0;
  virtual void Choose(int id, int index) = 0;
  virtual void PressEnter() = 0;
  virtual void PressEscape() = 0;
  virtual void CloseBox() = 0;
};

}  // namespace pelgar::testing
