#pragma once

#include <cstddef>
#include <string>
#include <string_view>
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
  kIcon,    // the program's icon at its own size; its text names the icon (IconResource)
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

// What every host makes of a template, so that each window behaves alike on all of them.
//
// Check boxes, buttons, edits and lists take the focus, and Tab stops at them in the
// template's order unless they have kNoTabStop (a click still focuses them then); group
// boxes, texts, icons and progress bars never take the focus.
bool TakesFocus(ControlKind kind);
bool TakesTab(const ControlTemplate& control);

// An edit takes this many characters until the program sets a typing limit; a limit of 0
// means this one.
inline constexpr size_t kDefaultEditLimit = 32767;
constexpr size_t EditLimit(size_t max_chars) {
  return max_chars == 0 ? kDefaultEditLimit : max_chars;
}

// A drop-down list's entries in the order it shows them: the template's, or with kSorted
// sorted by text ignoring the case of ASCII letters, equal texts in the template's order.
std::vector<std::string> ListEntries(const ControlTemplate& control);

// The icon an icon control shows, named by its text: a resource number, or else a name.
// The Qt host has the program's one icon and shows it whatever the name.
struct IconName {
  int id = 0;  // 0: `name` instead
  std::string name;
};
IconName IconResource(std::string_view text);

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
