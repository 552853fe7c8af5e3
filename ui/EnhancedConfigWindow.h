#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "device/DeviceSession.h"
#include "ui/Controls.h"
#include "ui/DialogHost.h"
#include "ui/DialogLogic.h"
#include "ui/MessageOutput.h"

namespace pelgar::ui {

// The enhanced configuration window (dialog 130): each enhanced setting read from or
// written to the reader by its own buttons, and the custom wedge table. The main window
// owns one instance for its whole life; the controls exist only while it is open, so the
// members below are what survives from one opening to the next.
class EnhancedConfigWindow : public DialogLogic {
 public:
  // The port and baud texts are the main window's list texts, read up to 9 characters.
  static constexpr size_t kPortTextMax = 9;
  // Head and tail wrapper together, counted after decoding.
  static constexpr int kWrapperTotal = 14;
  // A wrapper box is read up to 58 characters; the decoded text never needs more.
  static constexpr size_t kWrapperBoxMax = 58;
  static constexpr size_t kWrapperTextSize = 60;
  static constexpr int kRows = 7;
  static constexpr size_t kReplacementMax = 1;

  EnhancedConfigWindow(device::DeviceEnvironment& env, MessageOutput& messages);
  ~EnhancedConfigWindow() override;
  EnhancedConfigWindow(const EnhancedConfigWindow&) = delete;
  EnhancedConfigWindow& operator=(const EnhancedConfigWindow&) = delete;

  // The main window copies its COM port and baud rate texts in before each opening.
  void SetPortAndBaud(std::string_view port_text, std::string_view baud_text);
  // Get Config and Set Config report whether the configuration record's carriage return
  // was off; only then does this window offer the per-track carriage returns.
  void SetIndividualCrAllowed(bool carriage_return_off);
  // Runs the window modally; returns the host's result.
  int Open(DialogHost& host);

  // DialogLogic
  void OnOpening(Controls& controls) override;
  void OnClosed() override;
  void OnControl(int id, Notification notification) override;

  // State that survives closing, for the main window and for tests.
  uint8_t individual_cr_allowed() const { return individual_cr_allowed_; }
  int head_budget() const { return head_budget_; }
  int tail_budget() const { return tail_budget_; }
  uint8_t row_changed_mask() const { return row_changed_mask_; }
  const std::string& remembered_cr_line() const { return remembered_cr_line_; }
  const std::string& remembered_language_line() const { return remembered_language_line_; }
  std::string head_text() const { return head_text_.data(); }
  std::string tail_text() const { return tail_text_.data(); }
  const std::string& port_text() const { return port_text_; }
  const std::string& baud_text() const { return baud_text_; }

 private:
  using WrapperText = std::array<char, kWrapperTextSize>;

  // Data exchange. TakeData stops at the first control that fails and shows why; the
  // members taken before it keep their new values.
  bool TakeData();
  void PutData();
  bool TakeWrapper(int box, WrapperText& text, int& extra, int budget);
  void ShowTooLong(int box, int max_chars);

  void OnClicked(int id);
  void ShowRememberedWrappers(const std::string& head, const std::string& tail);
  void OnWrapperCheckClicked(bool head);
  void OnWrapperTextChanged(bool head);
  void OnRowSelectionChanged(int row);
  void OnReplacementChanged(int row);
  void ClearRows();

  // Buttons that talk to the reader, each in its own session.
  std::unique_ptr<device::DeviceSession> Claim();
  void ShowOperationError();
  void SetDataWrapper();
  void GetIndividualCr();
  void SetIndividualCr();
  void GetWedgeMode();
  void SetWedgeMode();
  void SetCustomTable();
  void ResetCustomTable();

  device::DeviceEnvironment& env_;
  MessageOutput& messages_;
  Controls* controls_ = nullptr;  // only while the window is open

  std::string port_text_;
  std::string baud_text_;
  int head_budget_ = kWrapperTotal;
  int tail_budget_ = kWrapperTotal;
  uint8_t individual_cr_allowed_ = 0;
  uint8_t row_changed_mask_ = 0;
  std::string remembered_cr_line_;
  std::string remembered_language_line_;
  WrapperText head_text_{};
  WrapperText tail_text_{};
  int head_extra_ = 0;
  int tail_extra_ = 0;
  std::array<std::string, kRows> replacement_texts_;
};

}  // namespace pelgar::ui
