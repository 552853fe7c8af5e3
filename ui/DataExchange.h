#pragma once

#include <cstdint>
#include <string>

#include "ui/Controls.h"
#include "ui/MessageOutput.h"

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

// The text a failed length check shows, e.g. "Please enter no more than 14 characters.".
std::string MaxCharsMessage(int max_chars);

// Taking: the text of wrapper box `id` is decoded into `wrapper` (the decoded bytes) and
// `extra_count`; a refused text shows the escape help and fails. Putting: nothing (the
// box's text is written elsewhere).
bool ExchangeWrapperText(DataExchange& dx, int id, std::string& wrapper, int32_t& extra_count);

// The length check of control `id`: taking, a `length` above `max_chars` shows
// MaxCharsMessage and fails; putting, `max_chars` becomes the control's typing limit.
bool ExchangeMaxChars(DataExchange& dx, int id, size_t length, int max_chars);

// A wrapper box: its text decoded into `wrapper` and `extra_count`, then checked against
// `budget` decoded characters plus what the escapes add (the box's typing limit when
// putting).
bool ExchangeWrapperBox(DataExchange& dx, int id, std::string& wrapper, int32_t& extra_count,
                        int budget);

}  // namespace pelgar::ui
