#pragma once

#include <string>
#include <vector>

namespace pelgar::ui {

// Static texts and group boxes that the logic never addresses share this id.
inline constexpr int kNoControlId = -1;

enum class ControlKind {
  kCheckBox,  // automatic check box: a click toggles it before the handler runs
  kPushButton,
  kEdit,      // single-line edit with border and horizontal auto-scroll
  kDropList,  // drop-down list
  kGroupBox,
  kStatic,  // text
  kIcon,    // static icon; its text holds the icon resource id
  kProgressBar,
};

// Style flags of a control.
namespace style {
inline constexpr unsigned kHidden = 0x01;
inline constexpr unsigned kDisabled = 0x02;
inline constexpr unsigned kNoTabStop = 0x04;
inline constexpr unsigned kSorted = 0x08;  // a list keeps its entries sorted by text
inline constexpr unsigned kReadOnly = 0x10;
inline constexpr unsigned kDefaultButton = 0x20;
inline constexpr unsigned kSunken = 0x40;  // a static text drawn with a sunken edge
}  // namespace style

// Position and size in dialog units. A host converts them to pixels from the dialog
// font's average character size: x * base_x / 4, y * base_y / 8.
struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct ControlTemplate {
  int id = kNoControlId;
  ControlKind kind = ControlKind::kStatic;
  std::string text;
  DialogRect rect;
  unsigned style = 0;
  std::string tooltip;             // empty: no tip
  std::vector<std::string> items;  // a list's initial entries
};

// A control without list entries, for writing templates compactly.
ControlTemplate MakeControl(int id, ControlKind kind, std::string text, DialogRect rect,
                            unsigned style = 0, std::string tooltip = {});

struct MenuItem {
  int command = 0;
  std::string text;
};

// A dialog as data: what a host needs to build the window and what ControlStore needs to
// start in the same state.
struct DialogTemplate {
  int id = 0;
  std::string title;
  std::string font_name;
  int font_size = 0;
  int width = 0;
  int height = 0;
  int icon_id = 0;  // 0: no window icon
  bool minimize_box = false;
  bool maximize_box = false;
  std::vector<MenuItem> system_menu;  // appended after a separator
  std::vector<ControlTemplate> controls;

  // The control with `id`, or null.
  const ControlTemplate* Find(int id) const;
};

}  // namespace pelgar::ui
