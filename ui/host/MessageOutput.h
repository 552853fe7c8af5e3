#pragma once

#include <string_view>

namespace pelgar::ui {

// Box types and results, with the values of the Win32 message box: the callers and the
// unattended summary compare against them, and the Win32 host hands them on unchanged.
// A type is one set of buttons (kButtonMask) or'ed with at most one icon (kIconMask).
namespace box {
inline constexpr unsigned kButtonMask = 0x0F;
inline constexpr unsigned kOk = 0x00;
inline constexpr unsigned kYesNo = 0x04;
inline constexpr unsigned kIconMask = 0xF0;
inline constexpr unsigned kIconStop = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
}  // namespace box

namespace answer {
inline constexpr int kOk = 1;
inline constexpr int kYes = 6;
inline constexpr int kNo = 7;
}  // namespace answer

// The caption of every error box.
inline constexpr std::string_view kErrorCaption = "Error!";

// Every message a user could see passes through here. Interactively it shows a message
// box; in an unattended run it is classified into the summary and printed to the console.
class MessageOutput {
 public:
  virtual ~MessageOutput() = default;

  // Returns the button pressed (answer::kOk, kYes, kNo), or 0 in an unattended run, which
  // callers that test for Yes take as No.
  virtual int ShowMessage(std::string_view text, std::string_view caption, unsigned type) = 0;
  // The application's plain message box: no caption of the caller's.
  virtual int ShowPlainMessage(std::string_view text, unsigned type) = 0;
};

}  // namespace pelgar::ui
