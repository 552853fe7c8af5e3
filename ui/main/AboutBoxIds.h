#pragma once

// The about box (dialog 100). Its icon is the main window's, resource 128; its only
// control that the logic hears of is OK (kIdOk).
namespace pelgar::ui::about_id {
inline constexpr int kDialog = 100;
}  // namespace pelgar::ui::about_id
