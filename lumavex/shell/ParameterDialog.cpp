#include "lumavex/shell/ParameterDialog.h"

#include <cctype>
#include <climits>

namespace lumavex {

std::optional<int> ParseDialogInteger(const std::string& text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const size_t digitsStart = i;
  long long value = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
    value = value * 10 + (text[i++] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (i == digitsStart) return std::nullopt;
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i != n) return std::nullopt;
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

int HundredthsShown(double pixels) { return static_cast<int>(pixels * 100); }
int HundredthsShownRounded(double pixels) { return static_cast<int>(pixels * 100 + 0.5); }

namespace {

// Checks one field; returns the refusal or the value.
std::optional<platform::DialogMessage> CheckField(const IntegerField& field,
                                                  const std::string& text, int& value) {
  const auto parsed = ParseDialogInteger(text);
  if (!parsed) return platform::DialogMessage{field.notNumberMessage, kInputErrorCaption};
  if (field.lower && *parsed < *field.lower)
    return platform::DialogMessage{field.belowLowerMessage, kInputErrorCaption};
  if (field.upper && *parsed > *field.upper)
    return platform::DialogMessage{field.aboveUpperMessage, kInputErrorCaption};
  value = *parsed;
  return std::nullopt;
}

}  // namespace

platform::DialogModel MakeParameterDialog(ParameterDialogForm form) {
  platform::DialogModel model;
  model.id = form.id;
  model.title = form.title;
  model.okCode = form.okCode;
  model.cancelCode = form.cancelCode;
  model.cancelText = form.cancelText;
  model.focusId = kFirstField;
  for (const auto& field : form.fields) {
    platform::DialogControl control;
    control.id = field.controlId;
    control.kind = platform::ControlKind::Edit;
    control.label = field.label;
    control.text = std::to_string(field.startValue);
    model.controls.push_back(control);
    if (!field.trailingText.empty())
      model.controls.push_back({kStaticText, platform::ControlKind::Label, field.trailingText});
  }
  for (const auto& box : form.checkBoxes)
    model.controls.push_back({box.controlId, platform::ControlKind::Check, box.label, "",
                              box.startValue});
  model.onOk = [fields = form.fields, eachOnPass = form.storeEachOnPass,
                boxes = form.checkBoxes, together = form.checkTogether](
                   platform::DialogModel& m) -> std::optional<platform::DialogMessage> {
    std::vector<int> values;
    for (const auto& field : fields) {
      int value = 0;
      if (auto refusal = CheckField(field, m.Text(field.controlId), value)) return refusal;
      if (eachOnPass && field.store) field.store(value);
      values.push_back(value);
    }
    if (together)
      if (auto refusal = together(values))
        return platform::DialogMessage{*refusal, kInputErrorCaption};
    if (!eachOnPass)
      for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].store) fields[i].store(values[i]);
    for (const auto& box : boxes)
      if (box.store) box.store(m.Checked(box.controlId));
    return std::nullopt;
  };
  return model;
}

}  // namespace lumavex
