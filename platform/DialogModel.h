#pragma once
// A dialog as data: its controls with their texts, and the validation that
// runs on OK. Hosts present the model (a real dialog, or a test script); the
// validation is the same for both, so a refused value behaves alike everywhere.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class ControlKind {
  Edit,          // one-line text field
  Check,         // check box
  Label,         // static text
  ReadOnlyText,  // multi-line text the user can scroll and select but not change
  Radio,         // a button of the dialog's one radio group: checking it clears the others
};

struct DialogControl {
  int id = 0;
  ControlKind kind = ControlKind::Edit;
  std::string label;  // static text shown before an edit, or the check box caption
  std::string text;   // edit contents
  bool checked = false;
};

struct DialogMessage {
  std::string text;
  std::string caption;
  bool operator==(const DialogMessage&) const = default;
};

struct DialogModel {
  static constexpr int kOkButton = 1;
  static constexpr int kCancelButton = 2;

  int id = 0;
  std::string title;
  std::vector<DialogControl> controls;
  std::string okText = "OK";
  std::string cancelText = "ｷｬﾝｾﾙ";
  bool hasCancelButton = true;  // false: OK is the only button
  int focusId = 1000;  // the control that has the focus (its whole text selected) at opening
  int okCode = 0;      // what RunDialog returns when OK is accepted
  int cancelCode = -1; // what RunDialog returns on cancel

  // Reads the controls and stores their values. Returns the message to show when a
  // value is refused; the dialog then stays open.
  std::function<std::optional<DialogMessage>(DialogModel&)> onOk;

  DialogControl* Find(int controlId);
  const DialogControl* Find(int controlId) const;
  const std::string& Text(int controlId) const;
  void SetText(int controlId, std::string text);
  bool Checked(int controlId) const;
  // Checking a radio button clears every other radio button of the dialog.
  void SetChecked(int controlId, bool checked);

  // Runs the OK validation; no validator means every input is accepted.
  std::optional<DialogMessage> Accept() { return onOk ? onOk(*this) : std::nullopt; }
};

}  // namespace platform
