#include "ui/main/MainWindowTemplate.h"

#include "device/PortText.h"
#include "ui/main/MainWindowIds.h"

namespace pelgar::ui {
namespace {

DialogTemplate Build() {
  DialogTemplate dialog;
  dialog.id = main_id::kDialog;
  dialog.title = "Kestrel MSR Configuration Utility";
  dialog.font_name = "MS Sans Serif";
  dialog.font_size = 8;
  dialog.width = 536;
  dialog.height = 251;
  dialog.icon_id = main_id::kIcon;
  dialog.system_menu = {{main_id::kAboutCommand, "&About Pelgar..."},
                        {main_id::kEnhancedWindowCommand, "MSR &Enhanced Configuration..."}};
  // The COM port list keeps the first entry's trailing blank: the port text handed to a
  // session is then "1 ", and the port layer ignores trailing blanks as the platform did.
  dialog.controls = {
      MakeControl(
          main_id::kRawDataMode, ControlKind::kCheckBox, "Raw Data Mode(AAMVA Mode)",
          {151, 84, 117, 10}, 0,
          "\nEnabling this option removes MSR data formatting.  The raw card contents are "
          "returned in the data stream.\n\nThis mode also enables AAMVA(California Driver's "
          "License Mode).\n"),
      MakeControl(main_id::kCarriageReturn, ControlKind::kCheckBox, "Carriage Return Enabled",
                  {151, 95, 95, 10}, 0,
                  "\nEnabling this option appends a carriage return after each returned track.\n"),
      MakeControl(
          main_id::kTrack1, ControlKind::kCheckBox, "Track 1 Enabled", {151, 106, 95, 10}, 0,
          "Enable this option to include Track 1 in the data stream after a swipe.  \n\nThe "
          "swiped card must contain a valid Track 1."),
      MakeControl(
          main_id::kTrack2, ControlKind::kCheckBox, "Track 2 Enabled", {151, 116, 95, 10}, 0,
          "Enable this option to include Track 2 in the data stream after a swipe.  \n\nThe "
          "swiped card must contain a valid Track 2."),
      MakeControl(
          main_id::kTrack3, ControlKind::kCheckBox, "Track 3 Enabled", {151, 127, 95, 10}, 0,
          "Enable this option to include Track 3 in the data stream after a swipe.  \n\nThe "
          "swiped card must contain a valid Track 3."),
      MakeControl(
          main_id::kStripSentinels, ControlKind::kCheckBox, "Strip Sentinels", {151, 138, 95, 10},
          0,
          "\nEnabling this option removes the start and stop sentinels from the MSR returned "
          "data stream.\n"),
      MakeControl(
          main_id::kCustomConfiguration, ControlKind::kCheckBox, "Enabled", {163, 67, 38, 10}, 0,
          "\n**If this option is disabled, the default configuration is used by the MSR**\n\nThis "
          "option must be enabled for the MSR to use the custom configuration.\n"),
      MakeControl(main_id::kHideErrorTracks, ControlKind::kCheckBox, "Hide Error Tracks",
                  {151, 148, 95, 10}, 0,
                  "\nEnabling this option disables error reporting after a bad card swipe.\n"),
      MakeControl(
          main_id::kGetConfig, ControlKind::kPushButton, "Get Config", {149, 183, 89, 35}, 0,
          "\nGets the current active MSR configuration from the MSR located on the specified "
          "COM port. The specified COM port must not be in use by other applications.\n"),
      MakeControl(main_id::kSetConfig, ControlKind::kPushButton, "Set Config", {283, 183, 92, 35},
                  0, "\nCommits the shown configuration to the MSR flash.\n"),
      MakeControl(main_id::kSaveSettings, ControlKind::kPushButton, "Save Current Settings",
                  {20, 92, 102, 26}, 0,
                  "\nSaves the current configuration to a configuration file.\n"),
      MakeControl(main_id::kLoadConfig, ControlKind::kPushButton, "Load Saved Config",
                  {20, 127, 102, 28}, 0,
                  "\nLoads a saved configuration from a configuration file.\n"),
      MakeControl(main_id::kSentinel1, ControlKind::kEdit, "", {283, 94, 15, 12}, 0,
                  "\nSets the Track 1 start sentinel.\n"),
      MakeControl(main_id::kSentinel2, ControlKind::kEdit, "", {283, 108, 15, 12}, 0,
                  "\nSets the Track 2 start sentinel.\n"),
      MakeControl(main_id::kSentinel3, ControlKind::kEdit, "", {283, 124, 15, 12}, 0,
                  "\nSets the Track 3 start sentinel.\n"),
      MakeControl(main_id::kEndSentinel, ControlKind::kEdit, "", {283, 138, 15, 12}, 0,
                  "\nSets the end sentinel for each track.\n"),
      MakeControl(kNoControlId, ControlKind::kStatic, "Start Sentinel(Track 1)", {303, 94, 75, 10}),
      MakeControl(kNoControlId, ControlKind::kStatic, "Start Sentinel(Track 2)",
                  {303, 110, 75, 10}),
      MakeControl(kNoControlId, ControlKind::kStatic, "Start Sentinel(Track 3)",
                  {303, 124, 75, 10}),
      MakeControl(kNoControlId, ControlKind::kStatic, "End Sentinel", {303, 140, 75, 10}),
      MakeControl(kNoControlId, ControlKind::kGroupBox, "MSR Configuration Parameters",
                  {135, 46, 255, 191}),
      MakeControl(kNoControlId, ControlKind::kGroupBox, "Configuration File Operations",
                  {11, 76, 117, 88}),
      MakeControl(kNoControlId, ControlKind::kGroupBox, "MSR Communication Parameters",
                  {11, 7, 118, 60}),
      MakeControl(kNoControlId, ControlKind::kStatic, "COM Port", {20, 30, 35, 10}),
      MakeControl(main_id::kPortList, ControlKind::kDropList, "", {62, 26, 60, 55}),
      MakeControl(kNoControlId, ControlKind::kStatic, "Baud Rate", {20, 50, 35, 10}),
      MakeControl(main_id::kBaudList, ControlKind::kDropList, "", {62, 47, 60, 55}, style::kSorted),
      MakeControl(main_id::kRevision, ControlKind::kStatic, "", {219, 166, 66, 10}),
      MakeControl(kNoControlId, ControlKind::kStatic, "Firmware Revision : ", {148, 166, 65, 10}),
      MakeControl(main_id::kEnhancedWindow, ControlKind::kPushButton, "MSR Enhanced Configuration",
                  {91, 226, 6, 18}, style::kHidden | style::kDisabled),
      MakeControl(main_id::kFirmwareUpdate, ControlKind::kPushButton, "MSR Firmware Update",
                  {20, 180, 102, 41}, 0, "\nUpdating the MSR firmware to MSR unit.\n"),
      MakeControl(kNoControlId, ControlKind::kGroupBox, "MSR Slide Switch Position",
                  {135, 7, 255, 32}),
      MakeControl(kNoControlId, ControlKind::kGroupBox, "Use Custom Config", {148, 55, 230, 26}),
      MakeControl(
          kNoControlId, ControlKind::kStatic,
          "(Note: If Disabled, MSR will work in default setting correspnding to Serial/Wedge "
          "mode.)",
          {218, 62, 158, 16}),
      MakeControl(kNoControlId, ControlKind::kGroupBox, "MSR Enhanced Configuration",
                  {396, 7, 133, 237}),
      MakeControl(kNoControlId, ControlKind::kGroupBox, "Data Wrapper Configuration",
                  {405, 19, 119, 73}),
      MakeControl(kNoControlId, ControlKind::kGroupBox, "Individual CR Enabled",
                  {405, 97, 119, 52}),
      MakeControl(kNoControlId, ControlKind::kGroupBox, "MSR Wedge Mode Language",
                  {405, 165, 119, 50}),
      MakeControl(main_id::kWedgeMode, ControlKind::kCheckBox, "Wedge Mode", {177, 21, 55, 10},
                  style::kNoTabStop, "\nSlide Switch is Wedge Mode position.\n"),
      MakeControl(main_id::kSerialMode, ControlKind::kCheckBox, "Serial Mode", {291, 21, 52, 10},
                  style::kNoTabStop, "\nSlide Switch is Serial Mode position.\n"),
      MakeControl(main_id::kSetConfigTemporary, ControlKind::kPushButton,
                  "Set Config Only To Temporary Memory", {119, 227, 13, 17},
                  style::kHidden | style::kDisabled),
      MakeControl(
          main_id::kHeadWrapper, ControlKind::kCheckBox, "Head Wrapper", {412, 30, 94, 10}, 0,
          "\nEnable this option to include data wrapper at header of each track data stream "
          "after a swipe.\n\n** Maximum input up to 14 characters. And, maximum of 14 "
          "characters for both header and tail data wrapper.\n"),
      MakeControl(
          main_id::kTailWrapper, ControlKind::kCheckBox, "Tail Wrapper", {412, 59, 93, 10}, 0,
          "\nEnable this option to include data wrapper at tailer of each track data stream "
          "after a swipe.\n\n** Maximum input up to 14 characters. And, maximum of 14 "
          "characters for both header and tail data wrapper.\n"),
      MakeControl(
          main_id::kHeadText, ControlKind::kEdit, "", {418, 41, 88, 14}, style::kDisabled,
          "Input to include data wrapper header of each track.\n\n"
          "* Non-text character can be entered:\n  Example 1: ABCD\\035EF\n  Means: ABCD + # + "
          "EF\n\n  Example 2: ABCD\\\\EF\n  Means: ABCD\\EF\n\n"
          "** Maximum input up to 14 characters. And, maximum of 14 characters for both header "
          "and tail data wrapper."),
      MakeControl(
          main_id::kTailText, ControlKind::kEdit, "", {418, 71, 88, 14}, style::kDisabled,
          "Input to include data wrapper tailer of each track.\n\n"
          "* Non-text character can be entered:\n  Example 1: ABCD\\035EF\n  Means: ABCD + # + "
          "EF\n\n  Example 2: ABCD\\\\EF\n  Means: ABCD\\EF\n\n"
          "** Maximum input up to 14 characters. And, maximum of 14 characters for both header "
          "and tail data wrapper."),
      MakeControl(
          main_id::kCrTrack1, ControlKind::kCheckBox, "CR Track 1 Enabled", {412, 109, 96, 10}, 0,
          "\nEnable this option to include carriage return at the end of Track 1 data stream "
          "after a swipe.  \n\n** The swiped card must contain a valid Track 1.\n"),
      MakeControl(
          main_id::kCrTrack2, ControlKind::kCheckBox, "CR Track 2 Enabled", {412, 122, 97, 10}, 0,
          "\nEnable this option to include carriage return at the end of Track 2 data stream "
          "after a swipe.  \n\n** The swiped card must contain a valid Track 2.\n"),
      MakeControl(
          main_id::kCrTrack3, ControlKind::kCheckBox, "CR Track 3 Enabled", {412, 135, 98, 10}, 0,
          "\nEnable this option to include carriage return at the end of Track 3 data stream "
          "after a swipe.  \n\n** The swiped card must contain a valid Track 3.\n"),
      MakeControl(
          main_id::kAltNumPad, ControlKind::kCheckBox, "Alt + NumPad", {412, 177, 58, 10},
          style::kDisabled,
          "\nEnable this option to select the MSR wedge mode language to \"Alt + NumPad\" "
          "mode\n\n** Require to change Windows input language of Keyboard to the respective "
          "selected language.\n"),
      MakeControl(
          main_id::kUsa, ControlKind::kCheckBox, "USA", {412, 189, 30, 10}, style::kDisabled,
          "\nEnable this option to select the MSR wedge mode language to \"USA\" mode\n\n** "
          "Require to change Windows input language of Keyboard to the respective selected "
          "language.\n"),
      MakeControl(main_id::kEnhancedGet, ControlKind::kPushButton, "Get", {405, 218, 56, 21}, 0,
                  "\nGetting of Enhanced settings from MSR unit.\n"),
      MakeControl(main_id::kEnhancedSet, ControlKind::kPushButton, "Set", {471, 218, 53, 21},
                  style::kDisabled, "\nSetting of Enhanced settings to MSR unit.\n"),
      MakeControl(main_id::kCapitalMode, ControlKind::kCheckBox, "Capital Mode Enabled",
                  {412, 153, 112, 10}, style::kDisabled,
                  "\nEnable this option to convert to capital character after a swipe.\n"),
      MakeControl(
          main_id::kCustomTable, ControlKind::kCheckBox, "Wedge Mode Custom Table",
          {412, 201, 108, 10}, style::kDisabled,
          "\nEnable this option to select the MSR wedge mode language to \"Custom\" mode\n\n** "
          "Require to change Windows input language of Keyboard to the respective selected "
          "language.\n"),
  };
  for (ControlTemplate& control : dialog.controls) {
    if (control.id == main_id::kPortList) {
      control.items = {"COM1 ", "COM2", "COM3", "COM4",  "COM5", "COM6",
                       "COM7",  "COM8", "COM9", "COM10", "COM11"};
    } else if (control.id == main_id::kBaudList) {
      for (const device::BaudRate& rate : device::kBaudRates) {
        control.items.emplace_back(rate.text);
      }
    }
  }
  return dialog;
}

}  // namespace

const DialogTemplate& MainWindowTemplate() {
  static const DialogTemplate dialog = Build();
  return dialog;
}

}  // namespace pelgar::ui
