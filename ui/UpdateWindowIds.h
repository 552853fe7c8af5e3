#pragma once

#include <cstdint>

namespace pelgar::ui {

// Window 132, "Updating Firmware to MSR...", and its controls.
inline constexpr int kUpdateDialogId = 132;
inline constexpr int kStatusLineId = 1062;
inline constexpr int kProgressBarId = 1064;

// The one-shot timer that starts the update once the window is up.
inline constexpr int kUpdateTimerId = 1;
inline constexpr int64_t kUpdateTimerMs = 200;

}  // namespace pelgar::ui
