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
  List,          // a list of entries of which one (or none) is chosen
  Button,        // a push button that runs the model's onButton and leaves the dialog open
};

struct DialogControl {
  int id = 0;
  ControlKind kind = ControlKind::Edit;
  std::string label;  // static text shown before an edit, or the check box caption
  std::string text;   // edit contents
  bool checked = false;
  std::vector<std::string> items;  // a list's entries
  int selected = -1;               // a list's chosen entry; -1 for none
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

  // A push button of the dialog was pressed: reads the controls and may change them
  // (a list's entries); a message returned is shown and the dialog stays open.
  std::function<std::optional<DialogMessage>(DialogModel&, int buttonId)> onButton;

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

  // The chosen entry of list `controlId` (-1 for none), and choosing one.
  int Selected(int controlId) const;
  void SetSelected(int controlId, int index);

  // Runs the button's action; nothing happens without one.
  std::optional<DialogMessage> Press(int buttonId) {
    return onButton ? onButton(*this, buttonId) : std::nullopt;
  }

  // Runs the OK validation; no validator means every input is accepted.
  std::optional<DialogMessage> Accept() { return onOk ? onOk(*this) : std::nullopt; }
};

}  // namespace platform
