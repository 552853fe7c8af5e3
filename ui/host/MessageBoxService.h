#pragma once

#include <string_view>

namespace pelgar::ui {

// The program's name: the caption of its own boxes.
inline constexpr std::string_view kProgramName = "Pelgar";
// The caption of a box whose caller gives none, as the platform's message box shows it.
inline constexpr std::string_view kDefaultBoxCaption = "Error";

// What a box's title bar says: the caller's caption, or kDefaultBoxCaption without one.
constexpr std::string_view BoxCaption(std::string_view caption) {
  return caption.empty() ? kDefaultBoxCaption : caption;
}

// The platform's message boxes, as an interactive run shows them. The desktop host
// supplies them; tests answer with a script. Texts are bytes, as MessageOutput's.
class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;

  // A box titled BoxCaption(caption), with the buttons and icon of `type` (ui::box).
  // Returns the button pressed (answer::kOk, kYes, kNo); a box that could not be shown
  // answers kNo to a question and kOk otherwise, so that nobody agreed to anything.
  virtual int ShowBox(std::string_view text, std::string_view caption, unsigned type) = 0;
  // The application's own box, captioned with the program's name.
  virtual int ShowApplicationBox(std::string_view text, unsigned type) {
    return ShowBox(text, kProgramName, type);
  }
};

}  // namespace pelgar::ui
