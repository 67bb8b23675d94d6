#pragma once
// The procedure all parameter dialogs share: integer fields shown with their current
// values, read back in order on OK, each refused with its own message while it is
// not a number or out of range; nothing is stored until every field passes.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/DialogModel.h"

namespace lumavex {

constexpr int kFirstField = 1000;
constexpr int kSecondField = 1001;
// Static texts have no identifier of their own, as nothing reads them back.
constexpr int kStaticText = -1;
constexpr const char* kInputErrorCaption = "指定エラー";

struct IntegerField {
  int controlId = kFirstField;
  std::string label;
  int startValue = 0;
  std::optional<int> lower;
  std::optional<int> upper;
  std::string notNumberMessage;
  std::string belowLowerMessage;
  std::string aboveUpperMessage;
  std::function<void(int)> store;
  // A static text shown right after the field (the stroke between the two terms of a ratio).
  std::string trailingText;
};

// A check box stored together with the integer fields once they all pass.
struct CheckBoxField {
  int controlId = 0;
  std::string label;
  bool startValue = false;
  std::function<void(bool)> store;
};

struct ParameterDialogForm {
  int id = 0;
  std::string title;
  std::vector<IntegerField> fields;
  int okCode = 0;
  int cancelCode = -1;
  // Store each field as soon as it passes, before the next one is checked.
  bool storeEachOnPass = false;
  std::vector<CheckBoxField> checkBoxes;
  // Runs when every field has passed, with their values in order, before anything is
  // stored; returns the refusal text when the values do not fit together.
  std::function<std::optional<std::string>(const std::vector<int>&)> checkTogether;
  std::string cancelText = "ｷｬﾝｾﾙ";
};

platform::DialogModel MakeParameterDialog(ParameterDialogForm form);

// Reads a dialog field as a signed 32-bit integer: optional blanks around an
// optional sign and at least one digit. Nothing else is a number.
std::optional<int> ParseDialogInteger(const std::string& text);

// How a length kept in pixels is shown in 1/100 pixel.
int HundredthsShown(double pixels);
// The fade distances are shown rounded.
int HundredthsShownRounded(double pixels);

}  // namespace lumavex
