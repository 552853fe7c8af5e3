#pragma once

#include <cstdint>
#include <memory>

#include "device/DeviceSession.h"
#include "ui/ReaderClaim.h"
#include "ui/host/Controls.h"
#include "ui/host/DialogLogic.h"
#include "ui/host/MessageOutput.h"
#include "ui/main/ConfigFileWindow.h"
#include "ui/main/EnhancedGroup.h"
#include "ui/main/MainWindowHooks.h"
#include "ui/main/MainWindowSettings.h"

namespace pelgar::ui {

// The main window (dialog 102) as logic over its controls: initialisation, the rules that
// enable, check and uncheck controls, the data exchange, the reader actions Get Config and
// Set Config, and the enhanced group. The window holds no connection to the reader: each
// action claims it, works and lets it go before returning.
class MainWindow : public DialogLogic, public ConfigFileWindow, private EnhancedGroup::Host {
 public:
  // Store modes of Set Config.
  static constexpr int kStoreToFlash = 1;
  static constexpr int kStoreToTemporaryMemory = 0;
  static constexpr int kSentinelChars = 1;

  MainWindow(MessageOutput& messages, device::DeviceEnvironment& env, MainWindowSettings settings);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  MainWindowHooks& hooks() { return hooks_; }

  // When the window opens. In an unattended run it hands over to hooks().unattended_run
  // and closes with its exit status.
  void OnOpening(Controls& controls) override;
  void OnClosed() override { controls_ = nullptr; }
  void OnControl(int control, Notification notification) override;

  // Data exchange: taking (true) decodes and checks the wrapper boxes and the sentinel
  // edits, stopping with a message at the first that fails; putting (false) sets their
  // typing limits.
  bool UpdateData(bool save_and_validate) override;

  // Rules.
  void ApplyEnableRule() override;
  // Shows the reader's default setting: option boxes and sentinels, not the carriage return.
  void ShowDefaultConfiguration();
  bool AskToEnableCustomConfiguration() override;
  void ApplyWrapperLengthRule() override { group_.ApplyWrapperLengthRule(); }

  // Reader actions.
  void GetConfig();
  bool SetConfig() override { return SetConfig(kStoreToFlash); }
  // True when the reader took the record and committed it.
  bool SetConfig(int store_mode);
  EnhancedGroup::SetOutcome EnhancedSet() override { return group_.Set(); }

  // The port and baud texts an action claims with: the lists' texts, or in an unattended
  // run those of the command line.
  PortTexts port_texts() const;
  // Claims the reader with port_texts(); shows the not-claimed message when that fails.
  std::unique_ptr<device::DeviceSession> ClaimReader() override;
  // Why the last claim failed; empty when it did not.
  const device::ClaimFailure& last_claim_failure() const { return last_claim_failure_; }

  // Raised by Get Config for a reader that knows the enhanced settings, never lowered by
  // it; the unattended configuration run clears it when it starts.
  bool enhanced_capable() const override { return enhanced_capable_; }
  void set_enhanced_capable(bool capable) { enhanced_capable_ = capable; }
  // True when the configuration record last read or written had its carriage return off.
  bool individual_cr_allowed() const { return individual_cr_allowed_; }

  // Other windows.
  void OpenEnhancedConfiguration();
  void OpenFirmwareUpdate();
  void ShowAbout();

  // The window's controls; only while it is open.
  Controls& controls() override { return *controls_; }
  MessageOutput& messages() override { return messages_; }
  bool unattended() const override { return settings_.unattended; }
  device::DeviceEnvironment& environment() { return env_; }

 private:
  void OnClicked(int control);
  void OnOk();
  void ChangeRule();
  void UseCustomConfigRule();
  void IndicatorRule(int indicator);
  PortTexts ListTexts() const;

  Controls* controls_ = nullptr;  // only while the window is open
  MessageOutput& messages_;
  device::DeviceEnvironment& env_;
  MainWindowSettings settings_;
  MainWindowHooks hooks_;
  EnhancedGroup group_;
  bool enhanced_capable_ = false;
  device::ClaimFailure last_claim_failure_;
  // Unknown until a configuration record has been read or written: the per-track
  // carriage returns are not offered before.
  bool individual_cr_allowed_ = false;
};

}  // namespace pelgar::ui
