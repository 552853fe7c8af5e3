#pragma once

#include <array>

// Control ids of the enhanced configuration window (dialog 130).
namespace pelgar::ui::enhanced_id {
inline constexpr int kDialog = 130;
inline constexpr int kReturn = 2;
inline constexpr int kWrapperGroup = 1026;
inline constexpr int kHeadCheck = 1027;
inline constexpr int kTailCheck = 1028;
inline constexpr int kHeadBox = 1029;
inline constexpr int kTailBox = 1030;
inline constexpr int kCrGroup = 1031;
inline constexpr int kCrTrack1 = 1032;
inline constexpr int kCrTrack2 = 1033;
inline constexpr int kCrTrack3 = 1034;
inline constexpr int kLanguageGroup = 1035;
inline constexpr int kLanguageLabel = 1036;
inline constexpr int kLanguageList = 1037;
inline constexpr int kCustomGroup = 1038;
inline constexpr int kSetWrapper = 1039;
inline constexpr int kSetCr = 1041;
inline constexpr int kGetCr = 1042;
inline constexpr int kGetLanguage = 1043;
inline constexpr int kSetLanguage = 1044;
inline constexpr int kSetCustom = 1048;
inline constexpr int kResetCustom = 1050;
// Custom row n (1 to 7) is list kRowLists[n - 1] with box kRowBoxes[n - 1].
inline constexpr std::array<int, 7> kRowLabels = {1046, 1047, 1051, 1052, 1053, 1054, 1055};
inline constexpr std::array<int, 7> kRowLists = {1056, 1063, 1064, 1065, 1066, 1067, 1068};
inline constexpr std::array<int, 7> kRowBoxes = {1040, 1045, 1049, 1057, 1058, 1059, 1060};
}  // namespace pelgar::ui::enhanced_id
