#include "ui/DataExchange.h"

#include <array>

#include "config/EnhancedSettings.h"
#include "config/WrapperText.h"

namespace pelgar::ui {

std::string MaxCharsMessage(int max_chars) {
  return "Please enter no more than " + std::to_string(max_chars) + " characters.";
}

bool ExchangeWrapperText(DataExchange& dx, int id, std::string& wrapper, int32_t& extra_count) {
  if (!dx.save_and_validate) return true;
  std::string box = dx.controls.GetText(id, config::kWrapperBoxChars);
  // A fresh buffer each time: the decoder writes no terminating zero of its own.
  std::array<char, config::kWrapperTextSize> decoded{};
  bool ok = config::DecodeWrapperText(box, decoded, extra_count);
  wrapper = decoded.data();
  if (ok) return true;
  dx.messages.ShowPlainMessage(kWrapperEscapeHelp, box::kOk);
  return dx.Fail(id);
}

bool ExchangeMaxChars(DataExchange& dx, int id, size_t length, int max_chars) {
  if (!dx.save_and_validate) {
    // A limit of 0 would mean the platform's default; a box with no room left is
    // disabled by the window's rules anyway.
    dx.controls.SetLimit(id, max_chars > 0 ? static_cast<size_t>(max_chars) : 0);
    return true;
  }
  if (max_chars >= 0 && length <= static_cast<size_t>(max_chars)) return true;
  dx.messages.ShowPlainMessage(MaxCharsMessage(max_chars), box::kIconExclamation);
  return dx.Fail(id);
}

bool ExchangeWrapperBox(DataExchange& dx, int id, std::string& wrapper, int32_t& extra_count,
                        size_t budget) {
  // The budget counts decoded characters; the box counts typed ones, which are the decoded
  // ones plus what the escapes add. Both sides of the check count typed characters, so the
  // message names the same limit as the box's typing limit.
  return ExchangeWrapperText(dx, id, wrapper, extra_count) &&
         ExchangeMaxChars(dx, id, wrapper.size() + static_cast<size_t>(extra_count),
                          static_cast<int>(budget) + extra_count);
}

bool CheckWrapperTotal(DataExchange& dx, int tail_id, size_t head_length, size_t tail_length,
                       int32_t tail_extra_count) {
  if (config::WrapperLengthsFit(head_length, tail_length)) return true;
  int room = static_cast<int>(config::WrapperBudget(head_length)) + tail_extra_count;
  dx.messages.ShowPlainMessage(MaxCharsMessage(room), box::kIconExclamation);
  return dx.Fail(tail_id);
}

}  // namespace pelgar::ui
