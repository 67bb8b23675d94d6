#pragma once
// Presents a platform::DialogModel as a real modal dialog. The model's own OK
// validation decides: a refused value is shown and the dialog stays open.

#include <functional>
#include <map>
#include <memory>

#include "platform/DialogModel.h"

class QCheckBox;
class QDialog;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace platform::qt {

// Shows a refusal of the OK validation over the open dialog. The default is a
// warning message box; tests substitute one that records and returns at once.
using RefusalPresenter = std::function<void(QWidget* dialog, const DialogMessage& refusal)>;

class DialogPresenter {
 public:
  DialogPresenter(DialogModel& model, QWidget* parent, RefusalPresenter showRefusal = {});
  ~DialogPresenter();
  DialogPresenter(const DialogPresenter&) = delete;
  DialogPresenter& operator=(const DialogPresenter&) = delete;

  // Runs the dialog modally; returns the model's okCode or cancelCode.
  int Run();

  // OK: copies the widgets' texts, checks and radio choice into the model and runs its validation;
  // closes the dialog with okCode when it accepts, otherwise shows the refusal.
  void PressOk();
  // Cancel, Escape or closing the window: closes with cancelCode, model untouched.
  void PressCancel();

  QDialog& Dialog() const;
  QLineEdit* Edit(int controlId) const;      // nullptr when `controlId` is no edit
  QCheckBox* CheckBox(int controlId) const;  // nullptr when `controlId` is no check box
  QRadioButton* RadioButton(int controlId) const;  // nullptr when no radio button
  QPlainTextEdit* ReadOnlyText(int controlId) const;  // nullptr when no read-only text
  QListWidget* List(int controlId) const;             // nullptr when no list
  QPushButton* Button(int controlId) const;           // nullptr when no push button
  // A push button of the model: the widgets' values go to the model, its action
  // runs, a refusal is shown, and the lists show the model's entries again.
  void PressButton(int controlId);
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }  // nullptr: OK only

 private:
  class ModelDialog;

  void BuildControls();
  void BuildButtons();
  void FocusStartControl();
  void CopyWidgetsToModel();
  void CopyListsFromModel();

  DialogModel& model_;
  RefusalPresenter showRefusal_;
  std::unique_ptr<ModelDialog> dialog_;
  std::map<int, QLineEdit*> edits_;
  std::map<int, QCheckBox*> checks_;
  std::map<int, QRadioButton*> radios_;
  std::map<int, QPlainTextEdit*> readOnlyTexts_;
  std::map<int, QListWidget*> lists_;
  std::map<int, QPushButton*> buttons_;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

// Opens `model` as a modeless dialog over `parent` and returns at once: the user goes
// on working while it is open. OK, Escape or closing the window closes it, and the
// dialog then deletes itself. Each call opens a dialog of its own. The model is only
// shown: no validation runs and nothing is copied back.
QDialog* ShowModelessDialog(const DialogModel& model, QWidget* parent);

}  // namespace platform::qt
