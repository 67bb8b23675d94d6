#include "platform/DialogModel.h"

#include <stdexcept>

namespace platform {

DialogControl* DialogModel::Find(int controlId) {
  for (auto& c : controls)
    if (c.id == controlId) return &c;
  return nullptr;
}

const DialogControl* DialogModel::Find(int controlId) const {
  return const_cast<DialogModel*>(this)->Find(controlId);
}

const std::string& DialogModel::Text(int controlId) const {
  const DialogControl* c = Find(controlId);
  if (!c) throw std::out_of_range("dialog has no control " + std::to_string(controlId));
  return c->text;
}

void DialogModel::SetText(int controlId, std::string text) {
  DialogControl* c = Find(controlId);
  if (!c) throw std::out_of_range("dialog has no control " + std::to_string(controlId));
  c->text = std::move(text);
}

bool DialogModel::Checked(int controlId) const {
  const DialogControl* c = Find(controlId);
  return c && c->checked;
}

void DialogModel::SetChecked(int controlId, bool checked) {
  DialogControl* c = Find(controlId);
  if (!c) throw std::out_of_range("dialog has no control " + std::to_string(controlId));
  if (c->kind == ControlKind::Radio && checked)
    for (auto& other : controls)
      if (other.kind == ControlKind::Radio) other.checked = false;
  c->checked = checked;
}

int DialogModel::Selected(int controlId) const {
  const DialogControl* c = Find(controlId);
  return c ? c->selected : -1;
}

void DialogModel::SetSelected(int controlId, int index) {
  DialogControl* c = Find(controlId);
  if (!c) throw std::out_of_range("dialog has no control " + std::to_string(controlId));
  c->selected = index >= 0 && index < static_cast<int>(c->items.size()) ? index : -1;
}

}  // namespace platform
