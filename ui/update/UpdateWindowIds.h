#pragma once

#include <cstdint>

namespace pelgar::ui {

// Window 132, "Updating Firmware to MSR...", and its controls.
namespace update_id {
inline constexpr int kDialog = 132;
inline constexpr int kStatusLine = 1062;
inline constexpr int kProgressBar = 1064;
}  // namespace update_id

// The one-shot timer that starts the update once the window is up.
inline constexpr int kUpdateTimerId = 1;
inline constexpr int64_t kUpdateTimerMs = 200;

}  // namespace pelgar::ui
