#pragma once

#include <string_view>

namespace pelgar::ui {

// The platform's message boxes, as an interactive run shows them. The desktop host
// supplies them; tests answer with a script.
class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;

  // A box with the caller's caption; an empty caption leaves the platform's default.
  // Returns the button pressed (answer::kOk, kYes, kNo).
  virtual int ShowBox(std::string_view text, std::string_view caption, unsigned type) = 0;
  // The application's own box, captioned with the program's name.
  virtual int ShowApplicationBox(std::string_view text, unsigned type) = 0;
};

}  // namespace pelgar::ui
