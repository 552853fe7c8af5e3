#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "config/EnhancedSettings.h"
#include "device/DeviceSession.h"
#include "ui/DataExchange.h"
#include "ui/host/Controls.h"
#include "ui/host/MessageOutput.h"

namespace pelgar::ui {

// The "MSR Enhanced Configuration" group of the main window: the data wrappers with their
// shared 14-character budget, the per-track carriage returns, capital mode and the wedge
// mode language, read by "Get" (1077) and written by "Set" (1078).
class EnhancedGroup {
 public:
  // What the group needs of its window.
  class Host {
   public:
    virtual ~Host() = default;
    // The window's whole data exchange (the wrapper boxes and the sentinel edits).
    virtual bool UpdateData(bool save_and_validate) = 0;
    // Claims the reader with the port and baud of the run, or shows why it could not.
    virtual std::unique_ptr<device::DeviceSession> ClaimReader() = 0;
    // The window's controls while it is open.
    virtual Controls& controls() = 0;
  };

  // A failed enhanced-settings command, here and in the enhanced configuration window.
  static constexpr std::string_view kEnhancedFailed =
      "Error occurred while applying changes to the MSR enhanced configuration.";

  EnhancedGroup(MessageOutput& messages, Host& host);

  // Handles a notification of one of the group's controls; false when `control` is not one.
  bool OnControl(int control, Notification notification);
  // The group's part of the window's data exchange: the two wrapper boxes.
  bool Exchange(DataExchange& dx);

  // How far a Set got.
  enum class SetOutcome {
    kSent,        // every setting went out and the reader accepted it
    kNotSent,     // the data exchange refused a wrapper box: nothing went out
    kNotClaimed,  // the reader could not be claimed
    kRefused,     // the reader refused at least one setting
  };

  void Get();
  SetOutcome Set();

  // Shows two wrappers read from a reader (zero-terminated bytes) in their escaped form,
  // checking and enabling each one that is not empty, then applies the length rule.
  void ShowWrappers(std::string_view head, std::string_view tail);
  // Takes the wrapper texts from the boxes, lets a 14-character wrapper exclude the other
  // or else recomputes both budgets, and puts the new typing limits into the boxes.
  void ApplyWrapperLengthRule();
  // Any change in the group: "Set" and "Save Current Settings" become available.
  void EnhancedChangeRule();

  // The wedge mode language whose box is checked; nothing when none is.
  static std::optional<uint8_t> CheckedLanguage(const Controls& controls);
  // Checks the box of `language` and unchecks the others; a code without a box leaves none.
  static void ShowLanguage(Controls& controls, uint8_t language);
  // Checks the carriage-return box of each track whose flag the session read is on (the
  // enhanced configuration window has the same three boxes).
  static void ShowIndividualCR(Controls& controls, const device::DeviceSession& session);

 private:
  struct Wrapper {
    int check_id;
    int box_id;
    std::string text;  // decoded; a box holds at most 58 characters, so this fits 60 bytes
    int32_t extra = 0;
    size_t budget = config::WrapperBudget(0);
  };

  // Decodes a checked wrapper's box; an unchecked one is empty, whatever its box holds.
  bool TakeWrapper(DataExchange& dx, Wrapper& wrapper);
  // What of `wrapper` goes to the reader: nothing when it is unchecked or the other's 14
  // characters exclude it.
  size_t SentLength(const Wrapper& wrapper) const;
  // Each wrapper's room: the budget less what the other sends.
  void ShareBudget();
  void OnCheckClicked(Wrapper& self, Wrapper& other);
  void OnTextChanged(Wrapper& self, Wrapper& other);
  void OnLanguageClicked(int control);
  void ShowWrapper(Wrapper& wrapper, const std::string& escaped);
  void ReportFailure(std::string_view text);

  Controls& controls() const { return host_.controls(); }

  MessageOutput& messages_;
  Host& host_;
  Wrapper head_;
  Wrapper tail_;
};

}  // namespace pelgar::ui
