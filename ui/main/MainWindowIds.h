#pragma once

#include <array>
#include <cstddef>

namespace pelgar::ui {

// Resource ids of the main window (dialog 102) and its system menu.
namespace main_id {
inline constexpr int kDialog = 102;
inline constexpr int kIcon = 128;

inline constexpr int kRawDataMode = 1001;
inline constexpr int kCarriageReturn = 1002;
inline constexpr int kTrack1 = 1003;
inline constexpr int kTrack2 = 1004;
inline constexpr int kTrack3 = 1005;
inline constexpr int kStripSentinels = 1006;
inline constexpr int kCustomConfiguration = 1007;  // "Enabled" in "Use Custom Config"
inline constexpr int kHideErrorTracks = 1008;
inline constexpr int kGetConfig = 1009;
inline constexpr int kSetConfig = 1010;
inline constexpr int kSaveSettings = 1011;
inline constexpr int kLoadConfig = 1012;
inline constexpr int kEnhancedWindow = 1013;  // hidden and disabled
inline constexpr int kFirmwareUpdate = 1014;
inline constexpr int kSentinel1 = 1015;
inline constexpr int kSentinel2 = 1016;
inline constexpr int kSentinel3 = 1017;
inline constexpr int kEndSentinel = 1018;
inline constexpr int kPortList = 1019;
inline constexpr int kBaudList = 1020;
inline constexpr int kRevision = 1023;
inline constexpr int kWedgeMode = 1065;           // slide switch indicator
inline constexpr int kSerialMode = 1066;          // slide switch indicator
inline constexpr int kSetConfigTemporary = 1067;  // hidden and disabled
// The start sentinels of tracks 1, 2 and 3, then the end sentinel.
inline constexpr std::array<int, 4> kSentinels = {kSentinel1, kSentinel2, kSentinel3, kEndSentinel};

// Enhanced group.
inline constexpr int kHeadWrapper = 1027;
inline constexpr int kTailWrapper = 1028;
inline constexpr int kHeadText = 1029;
inline constexpr int kTailText = 1030;
inline constexpr int kCrTrack1 = 1032;
inline constexpr int kCrTrack2 = 1033;
inline constexpr int kCrTrack3 = 1034;
inline constexpr int kAltNumPad = 1075;
inline constexpr int kUsa = 1076;
inline constexpr int kEnhancedGet = 1077;
inline constexpr int kEnhancedSet = 1078;
inline constexpr int kCapitalMode = 1079;
inline constexpr int kCustomTable = 1080;

// System menu commands. The second opens the enhanced configuration window, which the
// hidden button 1013 would otherwise be the only way to.
inline constexpr int kAboutCommand = 0x0010;
inline constexpr int kEnhancedWindowCommand = 0x0020;
}  // namespace main_id

// The sentinel edits are read into 10-character buffers; only the first character counts.
inline constexpr size_t kSentinelReadChars = 9;

}  // namespace pelgar::ui
