#include "ui/host/DialogTemplate.h"

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

const ControlTemplate* DialogTemplate::Find(int control_id) const {
  if (control_id == kNoControlId) return nullptr;
  for (const ControlTemplate& control : controls) {
    if (control.id == control_id) return &control;
  }
  return nullptr;
}

}  // namespace pelgar::ui
