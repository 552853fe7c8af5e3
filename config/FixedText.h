#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace pelgar::config {

// Texts kept in zero-terminated fields of N characters, terminator included: the run
// settings, the device session's wrapper and table fields, the revision. A field with no
// zero is read to its end; a longer text is cut on the way in, so nothing is ever stored
// past the field.
template <size_t N>
std::string_view FieldText(const std::array<char, N>& field) {
  return std::string_view(
      field.data(),
      static_cast<size_t>(std::find(field.begin(), field.end(), '\0') - field.begin()));
}

template <size_t N>
void AssignField(std::array<char, N>& field, std::string_view text) {
  static_assert(N > 0);
  field.fill('\0');
  std::copy_n(text.begin(), std::min(text.size(), N - 1), field.begin());
}

// A field of its own, for records whose members are such texts.
template <size_t N>
class FixedText {
 public:
  static_assert(N > 0);
  static constexpr size_t kCapacity = N - 1;

  void Assign(std::string_view text) { AssignField(data_, text); }
  std::string_view view() const { return FieldText(data_); }

 private:
  std::array<char, N> data_{};
};

}  // namespace pelgar::config
