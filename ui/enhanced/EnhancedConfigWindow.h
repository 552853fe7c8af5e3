#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "config/EnhancedSettings.h"
#include "device/DeviceSession.h"
#include "ui/ReaderClaim.h"
#include "ui/host/Controls.h"
#include "ui/host/DialogHost.h"
#include "ui/host/DialogLogic.h"
#include "ui/host/MessageOutput.h"

namespace pelgar::ui {

struct DataExchange;

// The enhanced configuration window (dialog 130): each enhanced setting read from or
// written to the reader by its own buttons, and the custom wedge table. The main window
// owns one instance for its whole life; the controls exist only while it is open, so the
// members below are what survives from one opening to the next.
class EnhancedConfigWindow : public DialogLogic {
 public:
  static constexpr size_t kRows = config::kMaxBatchEntries;
  static constexpr size_t kReplacementMax = 1;

  EnhancedConfigWindow(device::DeviceEnvironment& env, MessageOutput& messages);
  ~EnhancedConfigWindow() override;
  EnhancedConfigWindow(const EnhancedConfigWindow&) = delete;
  EnhancedConfigWindow& operator=(const EnhancedConfigWindow&) = delete;

  // The main window copies its COM port and baud rate texts in before each opening (each
  // cut to the 9 characters its list is read with).
  void SetPortTexts(const PortTexts& texts);
  // True when the configuration record that Get Config or Set Config last read or wrote had
  // its carriage return off; only then does this window offer the per-track returns.
  void SetIndividualCrAllowed(bool allowed);
  // Runs the window modally; returns the host's result.
  int Open(DialogHost& host);

  // DialogLogic
  void OnOpening(Controls& controls) override;
  void OnClosed() override;
  void OnControl(int id, Notification notification) override;

  // State that survives closing, for the main window and for tests.
  bool individual_cr_allowed() const { return individual_cr_allowed_; }
  const std::string& remembered_cr_line() const { return remembered_cr_line_; }
  const std::string& remembered_language_line() const { return remembered_language_line_; }
  const std::string& tail_text() const { return tail_text_; }
  const PortTexts& port_texts() const { return port_texts_; }

 private:
  // Data exchange. Taking stops at the first control that fails and shows why; the
  // members taken before it keep their new values.
  bool UpdateData(bool save_and_validate);
  bool TakeData() { return UpdateData(true); }
  void PutData() { UpdateData(false); }
  // The custom rows' part of the exchange alone.
  bool UpdateRows(bool save_and_validate);
  bool ExchangeWrappers(DataExchange& dx);
  bool ExchangeRows(DataExchange& dx);

  void OnClicked(int id);
  void ShowRememberedWrappers(const std::string& head, const std::string& tail);
  void EnableWrapperBox(bool head);
  void OnWrapperCheckClicked(bool head);
  void OnWrapperTextChanged(bool head);
  void OnRowSelectionChanged(size_t row);
  void OnReplacementChanged(size_t row);
  void ClearRows();
  // A custom row's bit in row_changed_mask_: rows 0 to 6 use bits 1 to 7.
  static uint8_t RowBit(size_t row) { return static_cast<uint8_t>(1u << (row + 1)); }

  // Buttons that talk to the reader, each in its own session.
  std::unique_ptr<device::DeviceSession> Claim(int disable_on_failure);
  void ShowOperationError();
  void SetDataWrapper();
  void GetIndividualCR();
  void SetIndividualCR();
  void GetWedgeMode();
  void SetWedgeMode();
  void SetCustomTable();
  void ResetCustomTable();

  device::DeviceEnvironment& env_;
  MessageOutput& messages_;
  Controls* controls_ = nullptr;  // only while the window is open

  PortTexts port_texts_;
  size_t head_budget_ = config::WrapperBudget(0);
  size_t tail_budget_ = config::WrapperBudget(0);
  // False until the main window has read or written a configuration record: per-track
  // returns on a reader whose own carriage return is on would add a second one.
  bool individual_cr_allowed_ = false;
  uint8_t row_changed_mask_ = 0;
  std::string remembered_cr_line_;
  std::string remembered_language_line_;
  std::string head_text_;  // decoded, at most what a wrapper box decodes to
  std::string tail_text_;
  int32_t head_extra_ = 0;
  int32_t tail_extra_ = 0;
  std::array<std::string, kRows> replacement_texts_;
};

}  // namespace pelgar::ui
