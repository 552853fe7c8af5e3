// Each of the program's dialogs as the platform's dialog manager builds it from the
// in-memory template: texts, places, states, tab order and tips.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "hosts/win32/DialogResource.h"
#include "hosts/win32/DialogWindow.h"
#include "hosts/win32/Win32Host.h"
#include "hosts/win32/Win32Window.h"
#include "tests/hosts/win32/Win32TestUser.h"
#include "ui/enhanced/EnhancedConfigTemplate.h"
#include "ui/main/AboutBox.h"
#include "ui/main/MainWindowTemplate.h"
#include "ui/update/UpdateWindowTemplate.h"

namespace pelgar::hosts::win32 {
namespace {

using testing::TextOf;
using ui::ControlKind;

constexpr int kTipWidth = 320;

// Opens the tooltips as the windows do, and nothing else.
struct Tipped : ui::DialogLogic {
  void OnOpening(ui::Controls& controls) override { controls.ActivateToolTips(kTipWidth); }
  void OnControl(int, ui::Notification) override {}
};

// Runs `check` on the shown dialog, then closes it.
void WithDialog(const ui::DialogTemplate& dialog, const std::function<void(DialogWindow&)>& check) {
  Win32Host host;
  Tipped logic;
  bool shown = false;
  host.on_shown = [&](DialogWindow& window) {
    shown = true;
    check(window);
    window.controls().Close(0);
  };
  EXPECT_EQ(host.RunModal(dialog, logic), 0);
  EXPECT_TRUE(shown);
}

std::string DialogName(const ::testing::TestParamInfo<const ui::DialogTemplate*>& test) {
  return "Dialog" + std::to_string(test.param->id);
}

class Win32DialogTest : public ::testing::TestWithParam<const ui::DialogTemplate*> {};

TEST_P(Win32DialogTest, BuildsEveryControlOfTheTemplateInItsOrder) {
  const ui::DialogTemplate& dialog = *GetParam();
  WithDialog(dialog, [&](DialogWindow& window) {
    HWND hwnd = window.hwnd();
    EXPECT_EQ(TextOf(hwnd), dialog.title);
    RECT size{0, 0, dialog.width, dialog.height};
    MapDialogRect(hwnd, &size);
    RECT client;
    GetClientRect(hwnd, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    EXPECT_EQ(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0) != 0, dialog.icon_id != 0);

    // The children in creation order, which is the tab order.
    std::vector<HWND> children;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      children.push_back(child);
    }
    ASSERT_EQ(children.size(), dialog.controls.size());
    HWND tooltip = window.controls().tooltip();
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETMAXTIPWIDTH, 0, 0), kTipWidth);
    LRESULT tipped = 0;
    for (size_t i = 0; i < children.size(); ++i) {
      const ui::ControlTemplate& control = dialog.controls[i];
      HWND child = children[i];
      SCOPED_TRACE(std::to_string(control.id) + " " + control.text);
      EXPECT_EQ(GetDlgCtrlID(child), static_cast<uint16_t>(control.id));
      const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
      EXPECT_EQ((style & WS_TABSTOP) != 0, ui::TakesTab(control));
      EXPECT_EQ(IsWindowVisible(child) != FALSE, !(control.style & ui::style::kHidden));
      EXPECT_EQ(IsWindowEnabled(child) != FALSE, !(control.style & ui::style::kDisabled));
      EXPECT_TRUE(control.kind != ControlKind::kIcon || SendMessageW(child, STM_GETICON, 0, 0));
      // A list's entries as the program's selection reaches them, sorted where it says so.
      if (control.kind == ControlKind::kDropList) {
        std::vector<std::string> entries;
        for (int entry = 0; entry < std::ssize(control.items); ++entry) {
          window.controls().Select(control.id, entry);
          entries.push_back(window.controls().GetText(control.id, 100));
        }
        EXPECT_EQ(entries, ui::ListEntries(control));
      }
      if (control.style & ui::style::kDefaultButton) {
        EXPECT_EQ(SendMessageW(hwnd, DM_GETDEFID, 0, 0), MAKELONG(control.id, DC_HASDEFID));
      }
      if (control.kind != ControlKind::kIcon && control.kind != ControlKind::kDropList &&
          control.kind != ControlKind::kProgressBar) {
        EXPECT_EQ(TextOf(child), control.text);
      }
      // Its tip, line breaks and all, wrapped at the logic's width.
      std::vector<wchar_t> tip(4096, L'\0');
      TTTOOLINFOW info{};
      info.cbSize = TTTOOLINFOW_V2_SIZE;
      info.hwnd = hwnd;
      info.uId = reinterpret_cast<UINT_PTR>(child);
      info.lpszText = tip.data();
      SendMessageW(tooltip, TTM_GETTEXTW, tip.size(), reinterpret_cast<LPARAM>(&info));
      EXPECT_EQ(std::wstring(tip.data()), Widen(control.tooltip));
      tipped += !control.tooltip.empty();
      // In the dialog font's units, place and size each rounded on its own as the dialog
      // manager does; a closed list is one line high, an icon its own size.
      RECT place{control.rect.x, control.rect.y, control.rect.width, control.rect.height};
      MapDialogRect(hwnd, &place);
      RECT actual;
      GetWindowRect(child, &actual);
      MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&actual), 2);
      EXPECT_EQ(actual.left, place.left);
      EXPECT_EQ(actual.top, place.top);
      if (control.kind != ControlKind::kIcon) {
        EXPECT_EQ(actual.right - actual.left, place.right);
      }
      if (control.kind != ControlKind::kIcon && control.kind != ControlKind::kDropList) {
        EXPECT_EQ(actual.bottom - actual.top, place.bottom);
      }
    }
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), tipped);

    // The window's own menu commands, after a separator.
    HMENU menu = GetSystemMenu(hwnd, FALSE);
    const auto first = static_cast<UINT>(GetMenuItemCount(menu) - std::ssize(dialog.system_menu));
    for (size_t i = 0; i < dialog.system_menu.size(); ++i) {
      const auto position = first + static_cast<UINT>(i);
      EXPECT_NE(GetMenuState(menu, first - 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
      EXPECT_EQ(GetMenuItemID(menu, static_cast<int>(position)),
                static_cast<UINT>(dialog.system_menu[i].command));
      char text[64] = {};
      GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
      EXPECT_EQ(std::string(text), dialog.system_menu[i].text);
    }
  });
}

INSTANTIATE_TEST_SUITE_P(Templates, Win32DialogTest,
                         ::testing::Values(&ui::MainWindowTemplate(), &ui::AboutBoxTemplate(),
                                           &ui::EnhancedConfigTemplate(),
                                           &ui::UpdateWindowTemplate()),
                         DialogName);

}  // namespace
}  // namespace pelgar::hosts::win32
