#include "ui/host/ControlStore.h"

#include <algorithm>
#include <utility>

namespace pelgar::ui {

ControlStore::ControlStore(const DialogTemplate& dialog) {
  for (const ControlTemplate& control : dialog.controls) Add(control);
}

void ControlStore::Add(const ControlTemplate& control) {
  Control state;
  state.kind = control.kind;
  state.style = control.style;
  state.enabled = (control.style & style::kDisabled) == 0;
  state.visible = (control.style & style::kHidden) == 0;
  state.tooltip = control.tooltip;
  if (control.kind == ControlKind::kDropList) {
    state.items = ListEntries(control);
  } else {
    state.text = control.text;
  }
  controls_[control.id] = std::move(state);
}

ControlStore::Control* ControlStore::Find(int id) {
  return const_cast<Control*>(std::as_const(*this).Find(id));
}

const ControlStore::Control* ControlStore::Find(int id) const {
  auto it = controls_.find(id);
  if (it == controls_.end()) {
    unknown_ids_.push_back(id);
    return nullptr;
  }
  return &it->second;
}

ControlStore::Control* ControlStore::Reachable(int id) {
  if (closed_ || handler_depth_ > 0) return nullptr;
  Control* control = Find(id);
  if (control == nullptr || !control->enabled || !control->visible) return nullptr;
  return control;
}

void ControlStore::Notify(int id, Notification notification) {
  if (events_ == nullptr) return;
  ++handler_depth_;
  events_->OnControl(id, notification);
  --handler_depth_;
}

bool ControlStore::IsChecked(int id) const {
  const Control* control = Find(id);
  return control != nullptr && control->checked;
}

void ControlStore::SetCheck(int id, bool checked) {
  Control* control = Find(id);
  if (control != nullptr && control->kind == ControlKind::kCheckBox) control->checked = checked;
}

std::string ControlStore::GetText(int id, size_t max_chars) const {
  const Control* control = Find(id);
  if (control == nullptr) return {};
  if (control->kind == ControlKind::kDropList) {
    if (control->selected < 0) return {};
    return control->items[static_cast<size_t>(control->selected)].substr(0, max_chars);
  }
  return control->text.substr(0, max_chars);
}

void ControlStore::SetText(int id, std::string_view text) {
  Control* control = Find(id);
  if (control == nullptr) return;
  if (control->kind == ControlKind::kDropList) {
    // A drop-down list shows only its entries: writing a text selects the matching one.
    auto it = std::find(control->items.begin(), control->items.end(), text);
    if (it != control->items.end())
      control->selected = static_cast<int>(it - control->items.begin());
    return;
  }
  control->text = std::string(text);
  // The typing limit does not apply to what the program writes.
  if (control->kind == ControlKind::kEdit) Notify(id, Notification::kChanged);
}

bool ControlStore::IsEnabled(int id) const {
  const Control* control = Find(id);
  return control != nullptr && control->enabled;
}

void ControlStore::Enable(int id, bool enabled) {
  Control* control = Find(id);
  if (control != nullptr) control->enabled = enabled;
}

bool ControlStore::IsVisible(int id) const {
  const Control* control = Find(id);
  return control != nullptr && control->visible;
}

void ControlStore::SetLimit(int id, size_t max_chars) {
  Control* control = Find(id);
  if (control != nullptr) control->limit = max_chars;
}

size_t ControlStore::Limit(int id) const {
  const Control* control = Find(id);
  return control == nullptr ? 0 : control->limit;
}

void ControlStore::Select(int id, int index) {
  Control* control = Find(id);
  if (control == nullptr) return;
  // An index outside the list clears the selection, as the platform's lists do.
  bool inside = index >= 0 && static_cast<size_t>(index) < control->items.size();
  control->selected = inside ? index : -1;
}

int ControlStore::Selected(int id) const {
  const Control* control = Find(id);
  return control == nullptr ? -1 : control->selected;
}

void ControlStore::SetRange(int id, int low, int high) {
  Control* control = Find(id);
  if (control == nullptr) return;
  control->low = low;
  control->high = high;
  control->position = std::clamp(control->position, low, std::max(low, high));
}

void ControlStore::SetPosition(int id, int position) {
  Control* control = Find(id);
  if (control == nullptr) return;
  control->position = std::clamp(position, control->low, std::max(control->low, control->high));
}

int ControlStore::Position(int id) const {
  const Control* control = Find(id);
  return control == nullptr ? 0 : control->position;
}

void ControlStore::ActivateToolTips(int max_width_px) { tooltip_width_ = max_width_px; }

void ControlStore::Close(int result) {
  closed_ = true;
  result_ = result;
}

bool ControlStore::Click(int id) {
  Control* control = Reachable(id);
  if (control == nullptr) return false;
  if (control->kind == ControlKind::kCheckBox) {
    control->checked = !control->checked;
  } else if (control->kind != ControlKind::kPushButton) {
    return false;
  }
  Notify(id, Notification::kClicked);
  return true;
}

bool ControlStore::Type(int id, std::string_view chars) {
  Control* control = Reachable(id);
  if (control == nullptr || control->kind != ControlKind::kEdit) return false;
  if (control->style & style::kReadOnly) return false;
  for (char c : chars) {
    // Look the control up again: a handler may have changed it.
    control = Reachable(id);
    if (control == nullptr) break;
    if (control->text.size() >= EditLimit(control->limit)) continue;
    control->text.push_back(c);
    Notify(id, Notification::kChanged);
  }
  return true;
}

bool ControlStore::Backspace(int id, size_t count) {
  Control* control = Reachable(id);
  if (control == nullptr || control->kind != ControlKind::kEdit) return false;
  if (control->style & style::kReadOnly) return false;
  for (size_t i = 0; i < count; ++i) {
    control = Reachable(id);
    if (control == nullptr || control->text.empty()) break;
    control->text.pop_back();
    Notify(id, Notification::kChanged);
  }
  return true;
}

bool ControlStore::Paste(int id, std::string_view text) {
  Control* control = Reachable(id);
  if (control == nullptr || control->kind != ControlKind::kEdit) return false;
  if (control->style & style::kReadOnly) return false;
  control->text = std::string(text.substr(0, EditLimit(control->limit)));
  Notify(id, Notification::kChanged);
  return true;
}

bool ControlStore::Choose(int id, int index) {
  Control* control = Reachable(id);
  if (control == nullptr || control->kind != ControlKind::kDropList) return false;
  if (index < 0 || static_cast<size_t>(index) >= control->items.size()) return false;
  control->selected = index;
  Notify(id, Notification::kSelectionChanged);
  return true;
}

void ControlStore::PressEnter() {
  if (!closed_ && handler_depth_ == 0) Notify(kIdOk, Notification::kClicked);
}

void ControlStore::PressEscape() {
  if (!closed_ && handler_depth_ == 0) Notify(kIdCancel, Notification::kClicked);
}

void ControlStore::ChooseMenuCommand(int command) {
  if (!closed_ && handler_depth_ == 0) Notify(command, Notification::kMenuCommand);
}

ControlKind ControlStore::Kind(int id) const {
  const Control* control = Find(id);
  return control == nullptr ? ControlKind::kStatic : control->kind;
}

std::string ControlStore::ToolTip(int id) const {
  if (!tooltips_active()) return {};
  const Control* control = Find(id);
  return control == nullptr ? std::string{} : control->tooltip;
}

}  // namespace pelgar::ui
