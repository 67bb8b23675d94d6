#include "platform/qt/DialogPresenter.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/MessageBox.h"

namespace platform::qt {

// Routes every way of closing (buttons, Enter, Escape, the window's close) through
// the presenter, so that the model's codes are what exec() returns.
class DialogPresenter::ModelDialog : public QDialog {
 public:
  ModelDialog(DialogPresenter& presenter, QWidget* parent)
      : QDialog(parent), presenter_(presenter) {}
  void accept() override { presenter_.PressOk(); }
  void reject() override { presenter_.PressCancel(); }

 protected:
  void showEvent(QShowEvent* event) override {
    QDialog::showEvent(event);
    presenter_.FocusStartControl();
  }

 private:
  DialogPresenter& presenter_;
};

namespace {

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

void ShowRefusalBox(QWidget* dialog, const DialogMessage& refusal) {
  ShowMessageBox(dialog, refusal.text, refusal.caption, MessageButtons::Ok,
                 MessageIcon::Exclamation);
}

}  // namespace

DialogPresenter::DialogPresenter(DialogModel& model, QWidget* parent, RefusalPresenter showRefusal)
    : model_(model),
      showRefusal_(showRefusal ? std::move(showRefusal) : RefusalPresenter(ShowRefusalBox)),
      dialog_(std::make_unique<ModelDialog>(*this, parent)) {
  dialog_->setWindowTitle(ToQString(model_.title));
  dialog_->setModal(true);
  new QVBoxLayout(dialog_.get());
  BuildControls();
  BuildButtons();
}

DialogPresenter::~DialogPresenter() = default;

void DialogPresenter::BuildControls() {
  auto* form = new QFormLayout;
  for (const DialogControl& control : model_.controls) {
    switch (control.kind) {
      case ControlKind::Label:
        form->addRow(new QLabel(ToQString(control.label.empty() ? control.text : control.label)));
        break;
      case ControlKind::Edit: {
        auto* edit = new QLineEdit(ToQString(control.text));
        edits_[control.id] = edit;
        if (control.label.empty())
          form->addRow(edit);
        else
          form->addRow(ToQString(control.label), edit);
        break;
      }
      case ControlKind::Check: {
        auto* check = new QCheckBox(ToQString(control.label));
        check->setChecked(control.checked);
        checks_[control.id] = check;
        form->addRow(check);
        break;
      }
    }
  }
  static_cast<QVBoxLayout*>(dialog_->layout())->addLayout(form);
}

void DialogPresenter::BuildButtons() {
  okButton_ = new QPushButton(ToQString(model_.okText));
  cancelButton_ = new QPushButton(ToQString(model_.cancelText));
  okButton_->setDefault(true);
  QObject::connect(okButton_, &QPushButton::clicked, [this] { PressOk(); });
  QObject::connect(cancelButton_, &QPushButton::clicked, [this] { PressCancel(); });
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(okButton_);
  row->addWidget(cancelButton_);
  static_cast<QVBoxLayout*>(dialog_->layout())->addLayout(row);
}

void DialogPresenter::FocusStartControl() {
  if (QLineEdit* edit = Edit(model_.focusId)) {
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
  } else if (QCheckBox* check = CheckBox(model_.focusId)) {
    check->setFocus(Qt::TabFocusReason);
  }
}

int DialogPresenter::Run() {
  return dialog_->exec();
}

void DialogPresenter::CopyWidgetsToModel() {
  for (const auto& [id, edit] : edits_) model_.SetText(id, edit->text().toStdString());
  for (const auto& [id, check] : checks_) model_.SetChecked(id, check->isChecked());
}

void DialogPresenter::PressOk() {
  CopyWidgetsToModel();
  if (auto refusal = model_.Accept()) {
    showRefusal_(dialog_.get(), *refusal);
    return;
  }
  dialog_->done(model_.okCode);
}

void DialogPresenter::PressCancel() {
  dialog_->done(model_.cancelCode);
}

QDialog& DialogPresenter::Dialog() const {
  return *dialog_;
}

QLineEdit* DialogPresenter::Edit(int controlId) const {
  auto it = edits_.find(controlId);
  return it == edits_.end() ? nullptr : it->second;
}

QCheckBox* DialogPresenter::CheckBox(int controlId) const {
  auto it = checks_.find(controlId);
  return it == checks_.end() ? nullptr : it->second;
}

}  // namespace platform::qt
