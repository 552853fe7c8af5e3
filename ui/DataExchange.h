#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/host/Controls.h"
#include "ui/host/MessageOutput.h"

namespace pelgar::ui {

// One run of a window's data exchange, in the platform's manner: either the data is
// taken from the controls and checked (save_and_validate), or it is put into them. A
// failed check shows why, moves the focus to the control and ends the exchange; what
// was taken before it stays taken.
struct DataExchange {
  Controls& controls;
  MessageOutput& messages;
  bool save_and_validate = true;

  // Ends the exchange at control `id`: the user is sent back to it.
  bool Fail(int id) {
    controls.Focus(id);
    return false;
  }
};

// Shown when a wrapper box's text cannot be decoded.
inline constexpr std::string_view kWrapperEscapeHelp =
    "Please make sure the input of NON-TEXT characters and back-slash are following below "
    "format:\nNON-TEXT format: \"\\ddd\"\nBack-slash format: \"\\\\\"\n - \"\\ddd\" or "
    "\"\\\\\" is considered as 1 character\n - \"ddd\" MUST in decimal, range of 032 to "
    "127\n\nExample 1:\nABC\\035EF\nMeans: ABC + # + EF\n\nExample 2:\nABC\\\\EF\nMeans: "
    "ABC\\EF";

// The text a failed length check shows, e.g. "Please enter no more than 14 characters.".
std::string MaxCharsMessage(int max_chars);

// Taking: the text of wrapper box `id` is decoded into `wrapper` (the decoded bytes) and
// `extra_count`; a refused text shows the escape help and fails. Putting: nothing (the
// box's text is written elsewhere).
bool ExchangeWrapperText(DataExchange& dx, int id, std::string& wrapper, int32_t& extra_count);

// The length check of control `id`: taking, a `length` above `max_chars` shows
// MaxCharsMessage and fails; putting, `max_chars` becomes the control's typing limit.
bool ExchangeMaxChars(DataExchange& dx, int id, size_t length, int max_chars);

// A wrapper box: its text decoded into `wrapper` and `extra_count`, then checked so that
// the decoded text holds at most `budget` characters however the text arrived; putting,
// `budget` plus what the escapes add becomes the box's typing limit.
bool ExchangeWrapperBox(DataExchange& dx, int id, std::string& wrapper, int32_t& extra_count,
                        size_t budget);

// Taking, before the wrappers are sent: the head and the tail wrapper together within the
// reader's 14 characters. Otherwise the tail box, which has what the head leaves, shows
// its limit and fails.
bool CheckWrapperTotal(DataExchange& dx, int tail_id, size_t head_length, size_t tail_length,
                       int32_t tail_extra_count);

}  // namespace pelgar::ui
