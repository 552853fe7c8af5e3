#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace pelgar::app {

// A zero-terminated text field of N characters, terminator included, as the run settings
// keep them. Assigning a longer text cuts it: nothing is ever stored past the field.
template <size_t N>
class FixedText {
 public:
  static_assert(N > 0);
  static constexpr size_t kCapacity = N - 1;

  void Assign(std::string_view text) {
    data_.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), kCapacity), data_.begin());
  }
  std::string_view view() const {
    return std::string_view(
        data_.data(),
        static_cast<size_t>(std::find(data_.begin(), data_.end(), '\0') - data_.begin()));
  }

 private:
  std::array<char, N> data_{};
};

}  // namespace pelgar::app
