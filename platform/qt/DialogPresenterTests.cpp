#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "platform/qt/DialogPresenter.h"

namespace platform::qt {
namespace {

constexpr int kWidth = 1000;
constexpr int kOpacity = 1001;
constexpr int kRound = 1002;
constexpr int kOk = 7;
constexpr int kCancel = -1;
// A code no path of the presenter returns: the dialog was closed by the watchdog.
constexpr int kStuck = -999;

// A dialog whose width must be at least 1; every accepted width is kept in `accepted`.
DialogModel WidthDialog(std::vector<int>* accepted) {
  DialogModel model;
  model.id = 114;
  model.title = "ノーマルペン設定";
  model.controls = {{900, ControlKind::Label, "単位は1/100ピクセル", "", false},
                    {kWidth, ControlKind::Edit, "幅", "150", false},
                    {kOpacity, ControlKind::Edit, "不透明度", "255", false},
                    {kRound, ControlKind::Check, "丸める", "", true}};
  model.focusId = kWidth;
  model.okCode = kOk;
  model.cancelCode = kCancel;
  model.onOk = [accepted](DialogModel& m) -> std::optional<DialogMessage> {
    const int width = std::atoi(m.Text(kWidth).c_str());
    if (width < 1) return DialogMessage{"幅は1以上を指定して下さい。", "指定エラー"};
    accepted->push_back(width);
    return std::nullopt;
  };
  return model;
}

class DialogPresenterTest : public testing::Test {
 protected:
  DialogPresenterTest()
      : model(WidthDialog(&accepted)),
        presenter(model, nullptr, [this](QWidget* dialog, const DialogMessage& refusal) {
          refusals.push_back(refusal);
          stillOpenAtRefusal.push_back(dialog->isVisible());
        }) {}

  // Runs the dialog modally; `steps` run one after the other from its event loop.
  int RunWith(std::vector<std::function<void()>> steps) {
    int delay = 0;
    for (auto& step : steps) QTimer::singleShot(delay += 10, &presenter.Dialog(), step);
    QTimer::singleShot(5000, &presenter.Dialog(), [this] { presenter.Dialog().done(kStuck); });
    return presenter.Run();
  }

  void Type(int id, const QString& text) { presenter.Edit(id)->setText(text); }

  std::vector<int> accepted;
  DialogModel model;
  std::vector<DialogMessage> refusals;
  std::vector<bool> stillOpenAtRefusal;
  DialogPresenter presenter;
};

TEST_F(DialogPresenterTest, OpensWithTheModelsTitleTextsAndButtons) {
  EXPECT_EQ(presenter.Dialog().windowTitle(), QStringLiteral("ノーマルペン設定"));
  EXPECT_EQ(presenter.Edit(kWidth)->text(), QStringLiteral("150"));
  EXPECT_EQ(presenter.Edit(kOpacity)->text(), QStringLiteral("255"));
  EXPECT_TRUE(presenter.CheckBox(kRound)->isChecked());
  EXPECT_EQ(presenter.CheckBox(kRound)->text(), QStringLiteral("丸める"));
  EXPECT_EQ(presenter.OkButton()->text(), QStringLiteral("OK"));
  EXPECT_EQ(presenter.CancelButton()->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  EXPECT_EQ(presenter.Edit(kRound), nullptr);
  EXPECT_EQ(presenter.CheckBox(kWidth), nullptr);
  bool labelShown = false;
  for (QLabel* label : presenter.Dialog().findChildren<QLabel*>())
    labelShown |= label->text() == QStringLiteral("単位は1/100ピクセル");
  EXPECT_TRUE(labelShown);
}

TEST(DialogPresenterTitle, ATitleThatAloneExplainsTheFieldIsRepeatedAboveItAtFullWidth) {
  DialogModel single;
  single.title =
      "先頭フェード距離( Head fade distance for frame and fade.)( 0 ～ ( 100 = 1 ピクセル))";
  single.controls = {{1000, ControlKind::Edit, "", "0", false}};
  DialogPresenter presenter(single, nullptr);
  QDialog& dialog = presenter.Dialog();
  auto* title = dialog.findChild<QLabel*>(QStringLiteral("repeatedTitle"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), QString::fromStdString(single.title));
  dialog.show();
  QTest::qWait(10);
  const int titleWidth = title->fontMetrics().horizontalAdvance(title->text());
  EXPECT_GE(title->width(), titleWidth);
  EXPECT_GT(dialog.width(), titleWidth);
  EXPECT_LT(title->geometry().bottom(), presenter.Edit(1000)->geometry().top());
  dialog.hide();

  // Labelled fields explain themselves: no repetition.
  std::vector<int> accepted;
  DialogModel labelled = WidthDialog(&accepted);
  DialogPresenter other(labelled, nullptr);
  EXPECT_EQ(other.Dialog().findChild<QLabel*>(QStringLiteral("repeatedTitle")), nullptr);
}

TEST_F(DialogPresenterTest, FocusFieldHasItsWholeTextSelectedAtOpening) {
  model.focusId = kOpacity;
  QWidget* focused = nullptr;
  QString selected;
  RunWith({[&] {
             focused = presenter.Dialog().focusWidget();
             selected = presenter.Edit(kOpacity)->selectedText();
           },
           [&] { presenter.PressCancel(); }});
  EXPECT_EQ(focused, presenter.Edit(kOpacity));
  EXPECT_EQ(selected, QStringLiteral("255"));
}

TEST_F(DialogPresenterTest, RefusalKeepsTheDialogOpenUntilAValidOk) {
  bool openAfterRefusal = false;
  const int result =
      RunWith({[&] { Type(kWidth, "0"); }, [&] { presenter.OkButton()->click(); },
               [&] { openAfterRefusal = presenter.Dialog().isVisible(); },
               [&] { Type(kWidth, "320"); }, [&] { presenter.OkButton()->click(); }});

  EXPECT_EQ(result, kOk);
  ASSERT_EQ(refusals.size(), 1u);
  EXPECT_EQ(refusals[0], (DialogMessage{"幅は1以上を指定して下さい。", "指定エラー"}));
  EXPECT_EQ(stillOpenAtRefusal, std::vector<bool>{true});
  EXPECT_TRUE(openAfterRefusal);
  EXPECT_EQ(accepted, std::vector<int>{320});
  EXPECT_EQ(model.Text(kWidth), "320");
  EXPECT_FALSE(presenter.Dialog().isVisible());
}

TEST_F(DialogPresenterTest, OkCopiesEditsAndChecksIntoTheModel) {
  const int result = RunWith({[&] {
    Type(kOpacity, "128");
    presenter.CheckBox(kRound)->setChecked(false);
    presenter.OkButton()->click();
  }});
  EXPECT_EQ(result, kOk);
  EXPECT_EQ(model.Text(kOpacity), "128");
  EXPECT_FALSE(model.Checked(kRound));
}

TEST_F(DialogPresenterTest, EnterPressesOk) {
  const int result = RunWith({[&] {
    Type(kWidth, "5");
    QTest::keyClick(presenter.Edit(kWidth), Qt::Key_Return);
  }});
  EXPECT_EQ(result, kOk);
  EXPECT_EQ(accepted, std::vector<int>{5});
}

TEST_F(DialogPresenterTest, CancelAndEscapeCloseWithTheCancelCodeLeavingTheModel) {
  EXPECT_EQ(RunWith({[&] {
              Type(kWidth, "77");
              presenter.CancelButton()->click();
            }}),
            kCancel);
  EXPECT_EQ(RunWith({[&] {
              Type(kWidth, "0");
              QTest::keyClick(&presenter.Dialog(), Qt::Key_Escape);
            }}),
            kCancel);
  EXPECT_EQ(model.Text(kWidth), "150");
  EXPECT_TRUE(accepted.empty());
  EXPECT_TRUE(refusals.empty());
}

TEST_F(DialogPresenterTest, ClosingTheWindowCancels) {
  EXPECT_EQ(RunWith({[&] { presenter.Dialog().close(); }}), kCancel);
}

TEST(DialogPresenterCodes, AnOkCodeOfZeroIsReturnedAsIs) {
  DialogModel model;
  model.controls = {{1000, ControlKind::Edit, "", "1", false}};
  model.okCode = 0;
  model.cancelCode = 2;
  DialogPresenter presenter(model, nullptr);
  QTimer::singleShot(10, &presenter.Dialog(), [&] { presenter.OkButton()->click(); });
  QTimer::singleShot(5000, &presenter.Dialog(), [&] { presenter.Dialog().done(kStuck); });
  EXPECT_EQ(presenter.Run(), 0);
}

TEST(DialogPresenterRadio, ButtonsFormOneGroupAndOkCopiesTheChoice) {
  DialogModel model;
  model.controls = {{1000, ControlKind::Radio, "+10", "", false},
                    {1001, ControlKind::Radio, "+100", "", true},
                    {1002, ControlKind::Radio, "+0", "", false}};
  model.focusId = 1001;
  model.okCode = 1;
  model.cancelCode = 2;
  DialogPresenter presenter(model, nullptr);
  ASSERT_NE(presenter.RadioButton(1001), nullptr);
  EXPECT_TRUE(presenter.RadioButton(1001)->isChecked());
  EXPECT_EQ(presenter.RadioButton(1002)->text(), QStringLiteral("+0"));
  QWidget* focused = nullptr;
  QTimer::singleShot(10, &presenter.Dialog(), [&] {
    focused = presenter.Dialog().focusWidget();
    presenter.RadioButton(1002)->click();
    presenter.OkButton()->click();
  });
  QTimer::singleShot(5000, &presenter.Dialog(), [&] { presenter.Dialog().done(kStuck); });
  EXPECT_EQ(presenter.Run(), 1);
  EXPECT_EQ(focused, presenter.RadioButton(1001));
  EXPECT_FALSE(presenter.RadioButton(1001)->isChecked());
  EXPECT_TRUE(model.Checked(1002));
  EXPECT_FALSE(model.Checked(1001));
  EXPECT_FALSE(model.Checked(1000));
}

constexpr int kText = 1000;

// A read-only text with OK only, as the help dialog is.
DialogModel TextDialog(const std::string& text) {
  DialogModel model;
  model.id = 131;
  model.title = "ヘルプ";
  model.controls = {{kText, ControlKind::ReadOnlyText, "", text, false}};
  model.hasCancelButton = false;
  model.focusId = kText;
  return model;
}

QList<QPushButton*> Buttons(const QWidget& dialog) {
  return dialog.findChildren<QPushButton*>();
}

void DeletePendingWidgets() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(DialogPresenterReadOnlyText, ModalDialogShowsTheTextUnchangeableWithOkOnly) {
  DialogModel model = TextDialog("一行目\n二行目");
  model.okCode = 1;
  DialogPresenter presenter(model, nullptr);
  QPlainTextEdit* text = presenter.ReadOnlyText(kText);
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_EQ(text->toPlainText(), QStringLiteral("一行目\n二行目"));
  EXPECT_EQ(presenter.CancelButton(), nullptr);
  EXPECT_EQ(Buttons(presenter.Dialog()).size(), 1);
  QTimer::singleShot(10, &presenter.Dialog(), [&] { presenter.OkButton()->click(); });
  QTimer::singleShot(5000, &presenter.Dialog(), [&] { presenter.Dialog().done(kStuck); });
  EXPECT_EQ(presenter.Run(), 1);
  EXPECT_EQ(model.Text(kText), "一行目\n二行目");
}

TEST(ModelessDialog, ReturnsAtOnceLeavingAReadOnlyTextOpenWithoutBlockingOtherWindows) {
  QWidget owner;
  owner.show();
  QPointer<QDialog> dialog = ShowModelessDialog(TextDialog("操作の説明"), &owner);
  ASSERT_FALSE(dialog.isNull());
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(dialog->windowModality(), Qt::NonModal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(dialog->parentWidget(), &owner);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ヘルプ"));

  const auto texts = dialog->findChildren<QPlainTextEdit*>();
  ASSERT_EQ(texts.size(), 1);
  EXPECT_TRUE(texts[0]->isReadOnly());
  EXPECT_EQ(texts[0]->toPlainText(), QStringLiteral("操作の説明"));
  EXPECT_GE(texts[0]->minimumWidth(), 400);
  EXPECT_GE(texts[0]->minimumHeight(), 300);

  QTest::keyClicks(texts[0], "abc");
  EXPECT_EQ(texts[0]->toPlainText(), QStringLiteral("操作の説明"));

  const auto buttons = Buttons(*dialog);
  ASSERT_EQ(buttons.size(), 1);
  EXPECT_EQ(buttons[0]->text(), QStringLiteral("OK"));
  buttons[0]->click();
  DeletePendingWidgets();
  EXPECT_TRUE(dialog.isNull());
}

TEST(ModelessDialog, SeveralStayOpenAndEachClosesOnItsOwn) {
  QPointer<QDialog> first = ShowModelessDialog(TextDialog("一つ目"), nullptr);
  QPointer<QDialog> second = ShowModelessDialog(TextDialog("二つ目"), nullptr);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first.data(), second.data());
  EXPECT_TRUE(first->isVisible() && second->isVisible());

  QTest::keyClick(first.data(), Qt::Key_Escape);
  DeletePendingWidgets();
  EXPECT_TRUE(first.isNull());
  ASSERT_FALSE(second.isNull());
  EXPECT_TRUE(second->isVisible());

  second->close();
  DeletePendingWidgets();
  EXPECT_TRUE(second.isNull());
}

TEST(ModelessDialog, ACancelButtonIsShownOnlyWhenTheModelHasOne) {
  DialogModel model = TextDialog("本文");
  model.hasCancelButton = true;
  QPointer<QDialog> dialog = ShowModelessDialog(model, nullptr);
  const auto buttons = Buttons(*dialog);
  ASSERT_EQ(buttons.size(), 2);
  EXPECT_EQ(buttons[1]->text(), QStringLiteral("ｷｬﾝｾﾙ"));
  buttons[1]->click();
  DeletePendingWidgets();
  EXPECT_TRUE(dialog.isNull());
}

}  // namespace
}  // namespace platform::qt

namespace platform::qt {
namespace {

// A list whose entries a push button rewrites, as the string paste's glyph check does.
TEST(DialogPresenterListTest, AButtonRunsTheModelAndTheListShowsItsNewEntries) {
  DialogModel model;
  model.title = "文字列貼り付け( Paste string.)";
  DialogControl list{1005, ControlKind::List, "文字の太さ"};
  list.items = {"0", "100", "200"};
  list.selected = 1;
  model.controls = {{1000, ControlKind::Edit, "文字列", "A"}, list,
                    {1007, ControlKind::Button, "有無チェック"}};
  std::vector<int> chosen;
  model.onButton = [&chosen](DialogModel& m, int button) -> std::optional<DialogMessage> {
    chosen.push_back(m.Selected(1005));
    m.Find(1005)->items[button == 1007 ? 2 : 0] = "";
    return std::nullopt;
  };
  DialogPresenter presenter(model, nullptr, [](QWidget*, const DialogMessage&) {});
  ASSERT_NE(presenter.List(1005), nullptr);
  EXPECT_EQ(presenter.List(1005)->currentRow(), 1);
  presenter.List(1005)->setCurrentRow(2);
  presenter.Button(1007)->click();
  EXPECT_EQ(chosen, std::vector<int>{2});
  EXPECT_EQ(presenter.List(1005)->item(2)->text(), QString());
  EXPECT_EQ(presenter.List(1005)->item(1)->text(), QStringLiteral("100"));
}

}  // namespace
}  // namespace platform::qt
