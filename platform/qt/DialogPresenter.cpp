#include "platform/qt/DialogPresenter.h"

#include <QCheckBox>
#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
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

// Room for about forty lines of sixty full-width characters, so that a page of help
// reads without scrolling sideways.
constexpr int kReadOnlyTextWidth = 640;
constexpr int kReadOnlyTextHeight = 480;

QPlainTextEdit* MakeReadOnlyText(const DialogControl& control) {
  auto* edit = new QPlainTextEdit(ToQString(control.text));
  edit->setReadOnly(true);
  edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  edit->setMinimumSize(kReadOnlyTextWidth, kReadOnlyTextHeight);
  return edit;
}

// A control of a modeless dialog: shown with its value, but nothing can be changed,
// since nothing is read back.
QWidget* MakeShownControl(const DialogControl& control) {
  switch (control.kind) {
    case ControlKind::Label:
      return new QLabel(ToQString(control.label.empty() ? control.text : control.label));
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(ToQString(control.text));
      edit->setReadOnly(true);
      return edit;
    }
    case ControlKind::Check: {
      auto* check = new QCheckBox(ToQString(control.label));
      check->setChecked(control.checked);
      check->setEnabled(false);
      return check;
    }
    case ControlKind::ReadOnlyText:
      return MakeReadOnlyText(control);
    case ControlKind::Radio: {
      auto* radio = new QRadioButton(ToQString(control.label));
      radio->setChecked(control.checked);
      radio->setEnabled(false);
      return radio;
    }
    case ControlKind::List: {
      auto* list = new QListWidget;
      for (const std::string& item : control.items) list->addItem(ToQString(item));
      list->setCurrentRow(control.selected);
      list->setEnabled(false);
      return list;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(ToQString(control.label));
      button->setEnabled(false);
      return button;
    }
  }
  return nullptr;
}

// True when the model's fields carry no labels, so that their meaning and range
// stand only in the title.
bool OnlyTheTitleExplains(const DialogModel& model) {
  bool edits = false;
  for (const DialogControl& control : model.controls) {
    if (control.kind == ControlKind::Edit && !control.label.empty()) return false;
    edits |= control.kind == ControlKind::Edit;
  }
  return edits;
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
  // A window manager cuts a long title short in a dialog this small, so a title
  // that alone explains the fields is repeated above them, and its width sets the
  // dialog's.
  if (OnlyTheTitleExplains(model_)) {
    auto* title = new QLabel(ToQString(model_.title));
    title->setObjectName(QStringLiteral("repeatedTitle"));
    dialog_->layout()->addWidget(title);
  }
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
      case ControlKind::ReadOnlyText: {
        QPlainTextEdit* text = MakeReadOnlyText(control);
        readOnlyTexts_[control.id] = text;
        form->addRow(text);
        break;
      }
      case ControlKind::Radio: {
        // Radio buttons with one parent are one exclusive group, as the model's are.
        auto* radio = new QRadioButton(ToQString(control.label));
        radio->setChecked(control.checked);
        radios_[control.id] = radio;
        form->addRow(radio);
        break;
      }
      case ControlKind::List: {
        auto* list = new QListWidget;
        for (const std::string& item : control.items) list->addItem(ToQString(item));
        list->setCurrentRow(control.selected);
        lists_[control.id] = list;
        if (control.label.empty())
          form->addRow(list);
        else
          form->addRow(ToQString(control.label), list);
        break;
      }
      case ControlKind::Button: {
        auto* button = new QPushButton(ToQString(control.label));
        button->setAutoDefault(false);
        const int id = control.id;
        QObject::connect(button, &QPushButton::clicked, [this, id] { PressButton(id); });
        buttons_[control.id] = button;
        form->addRow(button);
        break;
      }
    }
  }
  static_cast<QVBoxLayout*>(dialog_->layout())->addLayout(form);
}

void DialogPresenter::BuildButtons() {
  okButton_ = new QPushButton(ToQString(model_.okText));
  okButton_->setDefault(true);
  QObject::connect(okButton_, &QPushButton::clicked, [this] { PressOk(); });
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(okButton_);
  if (model_.hasCancelButton) {
    cancelButton_ = new QPushButton(ToQString(model_.cancelText));
    QObject::connect(cancelButton_, &QPushButton::clicked, [this] { PressCancel(); });
    row->addWidget(cancelButton_);
  }
  static_cast<QVBoxLayout*>(dialog_->layout())->addLayout(row);
}

void DialogPresenter::FocusStartControl() {
  if (QLineEdit* edit = Edit(model_.focusId)) {
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
  } else if (QCheckBox* check = CheckBox(model_.focusId)) {
    check->setFocus(Qt::TabFocusReason);
  } else if (QRadioButton* radio = RadioButton(model_.focusId)) {
    radio->setFocus(Qt::TabFocusReason);
  }
}

int DialogPresenter::Run() {
  return dialog_->exec();
}

void DialogPresenter::CopyWidgetsToModel() {
  for (const auto& [id, edit] : edits_) model_.SetText(id, edit->text().toStdString());
  for (const auto& [id, check] : checks_) model_.SetChecked(id, check->isChecked());
  for (const auto& [id, radio] : radios_)
    if (radio->isChecked()) model_.SetChecked(id, true);
  for (const auto& [id, list] : lists_) model_.SetSelected(id, list->currentRow());
}

void DialogPresenter::CopyListsFromModel() {
  for (const auto& [id, list] : lists_) {
    const DialogControl* control = model_.Find(id);
    for (int i = 0; i < list->count() && i < static_cast<int>(control->items.size()); ++i)
      list->item(i)->setText(ToQString(control->items[i]));
    list->setCurrentRow(control->selected);
  }
}

void DialogPresenter::PressButton(int controlId) {
  CopyWidgetsToModel();
  const auto refusal = model_.Press(controlId);
  CopyListsFromModel();
  if (refusal) showRefusal_(dialog_.get(), *refusal);
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

QRadioButton* DialogPresenter::RadioButton(int controlId) const {
  auto it = radios_.find(controlId);
  return it == radios_.end() ? nullptr : it->second;
}

QListWidget* DialogPresenter::List(int controlId) const {
  auto it = lists_.find(controlId);
  return it == lists_.end() ? nullptr : it->second;
}

QPushButton* DialogPresenter::Button(int controlId) const {
  auto it = buttons_.find(controlId);
  return it == buttons_.end() ? nullptr : it->second;
}

QPlainTextEdit* DialogPresenter::ReadOnlyText(int controlId) const {
  auto it = readOnlyTexts_.find(controlId);
  return it == readOnlyTexts_.end() ? nullptr : it->second;
}

QDialog* ShowModelessDialog(const DialogModel& model, QWidget* parent) {
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowModality(Qt::NonModal);
  dialog->setWindowTitle(ToQString(model.title));
  auto* layout = new QVBoxLayout(dialog);
  for (const DialogControl& control : model.controls) layout->addWidget(MakeShownControl(control));

  auto* row = new QHBoxLayout;
  row->addStretch();
  auto* ok = new QPushButton(ToQString(model.okText));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  row->addWidget(ok);
  if (model.hasCancelButton) {
    auto* cancel = new QPushButton(ToQString(model.cancelText));
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addWidget(cancel);
  }
  layout->addLayout(row);

  dialog->show();
  ok->setFocus(Qt::OtherFocusReason);
  return dialog;
}

}  // namespace platform::qt
