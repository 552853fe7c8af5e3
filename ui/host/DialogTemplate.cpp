#include "ui/host/DialogTemplate.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

namespace pelgar::ui {

ControlTemplate MakeControl(int id, ControlKind kind, std::string text, DialogRect rect,
                            unsigned style, std::string tooltip) {
  ControlTemplate control;
  control.id = id;
  control.kind = kind;
  control.text = std::move(text);
  control.rect = rect;
  control.style = style;
  control.tooltip = std::move(tooltip);
  return control;
}

bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::kCheckBox || kind == ControlKind::kPushButton ||
         kind == ControlKind::kEdit || kind == ControlKind::kDropList;
}

bool TakesTab(const ControlTemplate& control) {
  return TakesFocus(control.kind) && (control.style & style::kNoTabStop) == 0;
}

std::vector<std::string> ListEntries(const ControlTemplate& control) {
  std::vector<std::string> items = control.items;
  if (control.style & style::kSorted) {
    std::stable_sort(items.begin(), items.end(), [](const std::string& a, const std::string& b) {
      return std::lexicographical_compare(
          a.begin(), a.end(), b.begin(), b.end(),
          [](unsigned char x, unsigned char y) { return std::tolower(x) < std::tolower(y); });
    });
  }
  return items;
}

IconName IconResource(std::string_view text) {
  IconName icon;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, icon.id);
  if (error != std::errc() || stop != end || icon.id <= 0 || icon.id > 0xFFFF) {
    icon.id = 0;
    icon.name = std::string(text);
  }
  return icon;
}

const ControlTemplate* DialogTemplate::Find(int control_id) const {
  if (control_id == kNoControlId) return nullptr;
  for (const ControlTemplate& control : controls) {
    if (control.id == control_id) return &control;
  }
  return nullptr;
}

}  // namespace pelgar::ui
