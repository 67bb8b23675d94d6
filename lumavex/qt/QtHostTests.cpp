#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "lumavex/qt/LumavexWindow.h"
#include "lumavex/qt/QtHost.h"
#include "lumavex/shell/HelpTopics.h"
#include "platform/qt/SurfaceWidget.h"
#include "platform/qt/WindowTestSupport.h"

namespace lumavex::qt {
namespace {

using platform::ScrollEvent;

class QtHostTest : public testing::Test, protected platform::qt::WindowEventLog {
 protected:
  void SetUp() override {
    Record(window);
    window.PlaceOnScreen();
    ASSERT_TRUE(platform::qt::ShowOnScreen(window));
    window.ClientSize();
    host.AttachWindow(&window);
    QTest::qWait(10);
    events.clear();
  }

  template <typename T>
  int Count() const {
    return static_cast<int>(Received<T>().size());
  }

  LumavexWindow window;
  QtHost host;
};

TEST_F(QtHostTest, ScrollBarRangeLeavesRoomForThePageWithoutScrollingBack) {
  host.SetScrollBar(ScrollEvent::Axis::Horizontal, 0, 1599, 500, 120);
  const QScrollBar& bar = window.ScrollBar(ScrollEvent::Axis::Horizontal);
  EXPECT_EQ(bar.minimum(), 0);
  EXPECT_EQ(bar.maximum(), 1100);
  EXPECT_EQ(bar.pageStep(), 500);
  EXPECT_EQ(bar.value(), 120);
  EXPECT_TRUE(bar.isEnabled());
  EXPECT_EQ(Count<ScrollEvent>(), 0);

  host.SetScrollBar(ScrollEvent::Axis::Vertical, -20, 1199, 1220, 0);
  const QScrollBar& vertical = window.ScrollBar(ScrollEvent::Axis::Vertical);
  EXPECT_EQ(vertical.minimum(), -20);
  EXPECT_EQ(vertical.maximum(), -20);
  EXPECT_EQ(vertical.value(), -20);
  EXPECT_FALSE(vertical.isEnabled());
  EXPECT_EQ(Count<ScrollEvent>(), 0);
}

TEST_F(QtHostTest, PresentShowsTheSurfaceAtOnceWithoutAskingTheCoreToRedraw) {
  platform::Surface surface(window.Client().width(), window.Client().height());
  surface.Fill({3, 4, 9, 8}, 0x00FF8000);
  host.Present(surface, {0, 0, surface.Width(), surface.Height()});
  EXPECT_EQ(window.Client().CurrentSurface(), &surface);
  const QImage shown = window.Client().grab(QRect(0, 0, 12, 12)).toImage();
  EXPECT_EQ(shown.pixel(3, 4), 0xFFFF8000u);
  EXPECT_EQ(shown.pixel(2, 4), 0xFF000000u);
  QTest::qWait(10);
  // Only the grab above is Qt's own repaint; presenting itself asks for nothing.
  EXPECT_LE(Count<platform::PaintEvent>(), 1);
  events.clear();
  host.Present(surface, {0, 0, 5, 5});
  QTest::qWait(10);
  EXPECT_EQ(Count<platform::PaintEvent>(), 0);
  window.Client().SetSurface(nullptr);
}

TEST_F(QtHostTest, MenuChangedMirrorsTheStatusText) {
  platform::MenuBar menu;
  menu.popups = {{"ファイル( File)", {{40080, "新規作成( New.)", ""}}}};
  menu.SetStatusText("★新規作成");
  host.MenuChanged(menu);
  QWidget* corner = window.MenuBarWidget().cornerWidget(Qt::TopRightCorner);
  ASSERT_NE(corner, nullptr);
  EXPECT_EQ(corner->property("text").toString(), QStringLiteral("★新規作成"));
}

TEST_F(QtHostTest, RunDialogShowsRefusalsThroughTheHookAndReturnsTheOkCode) {
  std::vector<platform::DialogMessage> refusals;
  host.SetRefusalPresenter(
      [&](QWidget*, const platform::DialogMessage& refusal) { refusals.push_back(refusal); });
  platform::DialogModel model;
  model.title = "新規作成";
  model.controls = {{1000, platform::ControlKind::Edit, "幅", "1600", false}};
  model.okCode = 1;
  model.onOk = [](platform::DialogModel& m) -> std::optional<platform::DialogMessage> {
    if (std::atoi(m.Text(1000).c_str()) < 2)
      return platform::DialogMessage{"幅2以上", "指定エラー"};
    return std::nullopt;
  };
  auto press = [](const char* text) {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QLineEdit*>()->setText(text);
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
      if (button->text() == "OK") button->click();
  };
  QTimer::singleShot(10, [&] { press("1"); });
  QTimer::singleShot(20, [&] { press("800"); });
  QTimer::singleShot(5000, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
  });
  EXPECT_EQ(host.RunDialog(model), 1);
  EXPECT_EQ(model.Text(1000), "800");
  ASSERT_EQ(refusals.size(), 1u);
  EXPECT_EQ(refusals[0].caption, "指定エラー");
}

// What a closed modal window uncovered is painted by the core again: the backing
// store alone would keep showing what was presented before, such as the black
// band an ended progress bar leaves.
TEST_F(QtHostTest, ClosingAModalWindowAsksTheCoreToRepaint) {
  auto closeSoon = [] {
    QTimer::singleShot(50, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
  };
  closeSoon();
  host.ShowMessage("テキスト", "キャプション", platform::MessageButtons::Ok,
                   platform::MessageIcon::None);
  events.clear();
  QTest::qWait(20);
  EXPECT_GE(Count<platform::PaintEvent>(), 1);

  platform::FileDialogRequest request;
  request.title = "ロード";
  request.filters = {"lmv files {*.lmv}"};
  closeSoon();
  events.clear();
  EXPECT_FALSE(host.OpenFileDialog(request));
  QTest::qWait(20);
  EXPECT_GE(Count<platform::PaintEvent>(), 1);
}

TEST_F(QtHostTest, QuitAskedBeforeTheLoopIsKept) {
  EXPECT_FALSE(host.PendingQuit());
  host.PostQuit(1);
  EXPECT_EQ(host.PendingQuit(), 1);
  // The quit asked outside a loop is still pending in Qt: let a loop consume it so
  // that later tests' dialogs do not close at once.
  QTimer::singleShot(200, qApp, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

TEST_F(QtHostTest, CursorClipIsRememberedAndReleased) {
  const platform::Rect area{0, 0, 640, 480};
  host.ClipCursor(&area);
  EXPECT_EQ(host.CursorClip(), area);
  host.ClipCursor(nullptr);
  EXPECT_FALSE(host.CursorClip());
}

TEST(QtHostWithoutWindow, WindowRequestsBeforeTheWindowExistsDoNothing) {
  QtHost host;
  platform::Surface surface(4, 4);
  host.Present(surface, {0, 0, 4, 4});
  host.SetScrollBar(ScrollEvent::Axis::Vertical, 0, 10, 5, 0);
  host.MenuChanged(platform::MenuBar{});
  host.Minimise();
  host.SetCursorPosition(1, 1);
}

TEST_F(QtHostTest, HelpOpensAModelessDialogOverTheWindowAndTheWindowStaysUsable) {
  ASSERT_TRUE(ShowHelpTopic(host, 40096));
  ASSERT_TRUE(ShowHelpTopic(host, 40225));
  const auto dialogs = window.findChildren<QDialog*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(dialogs.size(), 2);
  for (QDialog* dialog : dialogs) {
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    const auto texts = dialog->findChildren<QPlainTextEdit*>();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0]->isReadOnly());
    EXPECT_TRUE(texts[0]->toPlainText().startsWith(QStringLiteral("【")));
  }
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  QPointer<QDialog> first = dialogs[0];
  first->findChild<QPushButton*>()->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(window.findChildren<QDialog*>(Qt::FindDirectChildrenOnly).size(), 1);
}

}  // namespace
}  // namespace lumavex::qt
